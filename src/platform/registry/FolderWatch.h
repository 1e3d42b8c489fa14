// Whether the entries of a folder may have changed, without looking at
// them: inotify reports every change to the folder's entries (a file made,
// written, touched, renamed over or removed) and to the folder itself. The
// launcher asks ten times a second whether the registry file changed, and
// the answer mostly costs no system call but a read that finds nothing.
#pragma once

#include <string>

class FolderWatch {
 public:
  FolderWatch() = default;
  ~FolderWatch();
  FolderWatch(const FolderWatch&) = delete;
  FolderWatch& operator=(const FolderWatch&) = delete;

  // Watches folder from now on, and no longer the one before. Where it
  // cannot (no such folder, inotify's limits reached), it watches nothing.
  void Watch(const std::string& folder);
  // The folder last asked to be watched, and whether it is watched: a
  // folder removed or moved away is watched no more.
  const std::string& Folder() const { return folder_; }
  bool Watching() const { return fd_ >= 0; }
  // Whether anything in the folder may have changed since the last question
  // or since Watch; always yes while nothing is watched.
  bool MayHaveChanged();

 private:
  void Stop();

  int fd_ = -1;
  std::string folder_;
};
