// What the Windows process tests share: a scratch current directory, the
// test program's own folder, the probe's report, and waits on conditions.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

// The folder of the running test program, without a closing backslash.
std::string OwnFolder();

// Whether `condition` came true before the time-out; it is asked again
// every few milliseconds.
bool WaitUntil(const std::function<bool()>& condition);

// Whether the process `id` has ended (or was never there) before the time-out.
bool WaitForProcessEnd(unsigned long id);

// The lines of a file, or nothing when it cannot be read.
std::optional<std::vector<std::string>> FileLines(const std::string& path);

// A fresh folder under the temporary folder as the current directory for
// one test; the previous one is put back and the folder removed afterwards.
class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::string& Path() const { return path_; }
  // Writes a file in the folder.
  void Put(const std::string& name, const std::string& content) const;

 private:
  std::string previous_;
  std::string path_;
};
