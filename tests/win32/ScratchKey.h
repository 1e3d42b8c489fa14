// A key under HKEY_LOCAL_MACHINE that the test writes, volatile (never saved
// to the prefix's files), in the 32-bit view as the game's 32-bit installer
// writes its key or in the 64-bit view, and removes with its values
// afterwards. Its texts are the bytes stored, in the ANSI code page.
#pragma once

#include <cstdint>
#include <string>

class ScratchKey {
 public:
  // view: KEY_WOW64_32KEY or KEY_WOW64_64KEY.
  ScratchKey(std::string path, std::uint32_t view);
  ~ScratchKey();
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;

  // The key's path under HKEY_LOCAL_MACHINE.
  const std::string& Path() const { return path_; }

  // A REG_SZ value holding exactly `bytes` (a terminating zero only if given).
  void SetString(const char* name, const std::string& bytes) const;

 private:
  std::string path_;
  std::uint32_t view_;
  void* handle_ = nullptr;  // HKEY, open for writing in its view
};
