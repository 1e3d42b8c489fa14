#include "update/FileSink.h"

#include "base/PrivateFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cassert>
#include <climits>

FileSink::FileSink(std::string path, int fd) : path_(std::move(path)), fd_(fd) {}

std::unique_ptr<FileSink> FileSink::Open(const char* path) {
  // Unlinking needs no write permission on the file itself, so a read-only
  // file goes as well; a failure here shows up when creating.
  unlink(path);
  const int fd = open(path, O_RDWR | O_CREAT | O_TRUNC | kPrivateFileFlags, 0666);
  if (fd < 0) {
    return nullptr;
  }
  return std::unique_ptr<FileSink>(new FileSink(path, fd));
}

FileSink::~FileSink() {
  if (fd_ >= 0) {
    close(fd_);
  }
  if (!kept_) {
    unlink(path_.c_str());
  }
}

bool FileSink::Store(const char* chunk, int length) {
  assert(!kept_ && "a completed sink stores nothing more");
  if (length > INT_MAX - size_ || write(fd_, chunk, static_cast<size_t>(length)) != static_cast<ssize_t>(length)) {
    return false;
  }
  size_ += length;
  return true;
}

int FileSink::Complete() {
  // The file was created for this fetch and only this sink wrote to it, so
  // the bytes written are its size.
  assert(!kept_ && "a sink completes once");
  close(fd_);
  fd_ = -1;
  kept_ = true;
  return size_;
}
