// A desktop of the tests' own: the XDG folders point into a fresh folder
// holding only the stand-in handlers asked for, each of which records what
// it was started with. GIO reads these folders once per process, so the
// sandbox is made in main, before anything asks GIO.
#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <vector>

class DesktopSandbox {
 public:
  // kinds: any of "web" (x-scheme-handler/http), "text" (text/plain) and
  // "folder" (inode/directory).
  explicit DesktopSandbox(const std::set<std::string>& kinds);
  ~DesktopSandbox();
  DesktopSandbox(const DesktopSandbox&) = delete;
  DesktopSandbox& operator=(const DesktopSandbox&) = delete;

  bool Has(const std::string& kind) const { return kinds_.contains(kind); }
  // Every start of a stand-in so far, one line each: its kind, then its
  // arguments separated by '|'.
  std::vector<std::string> Starts() const;
  // The starts after the first `skip`, once there are `count` of them (or
  // the messages pumped meanwhile have run out of time).
  std::vector<std::string> StartsAfter(std::size_t skip, std::size_t count) const;
  // While held, a stand-in keeps running after it has recorded its start.
  void Hold(bool held) const;
  const std::filesystem::path& Folder() const { return folder_; }

  // The sandbox of this test program.
  static DesktopSandbox& Current();

 private:
  std::set<std::string> kinds_;
  std::filesystem::path folder_;
};
