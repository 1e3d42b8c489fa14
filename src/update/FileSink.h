// A fetch's file sink: the reply written to a file created for it.
#pragma once

#include "update/FetchSink.h"

#include <memory>
#include <string>

class FileSink final : public FetchSink {
 public:
  // Removes any file at path, read-only or not, and creates it anew; null
  // when the file cannot be created.
  static std::unique_ptr<FileSink> Open(const char* path);
  // Closes the file and, unless the fetch completed, deletes it, so no
  // partial file survives.
  ~FileSink() override;
  FileSink(const FileSink&) = delete;
  FileSink& operator=(const FileSink&) = delete;

  // A short or failed write fails; so does a file that would outgrow the
  // int result.
  bool Store(const char* chunk, int length) override;
  // Closes and keeps the file; returns its size.
  int Complete() override;

 private:
  FileSink(std::string path, int fd);

  std::string path_;
  int fd_;
  int size_ = 0;
  bool kept_ = false;
};
