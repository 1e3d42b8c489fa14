// A desktop of the tests' own: the XDG folders point into a fresh folder
// whose one application is a stand-in file manager (inode/directory), which
// records what it was started with. There is no browser. GIO reads these
// folders once per process, so the sandbox is made in main, before anything
// asks GIO.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

class DesktopSandbox {
 public:
  DesktopSandbox();
  ~DesktopSandbox();
  DesktopSandbox(const DesktopSandbox&) = delete;
  DesktopSandbox& operator=(const DesktopSandbox&) = delete;

  // The starts after the first `skip`, once there are `count` of them (or
  // the messages pumped meanwhile have run out of time), one line each: the
  // kind, then the arguments separated by '|'.
  std::vector<std::string> StartsAfter(std::size_t skip, std::size_t count) const;
  // Records a start of the given kind with the arguments after it.
  const std::filesystem::path& Recorder() const { return recorder_; }

  // The sandbox of this test program.
  static DesktopSandbox& Current();

 private:
  std::vector<std::string> Starts() const;

  std::filesystem::path folder_;
  std::filesystem::path recorder_;
};
