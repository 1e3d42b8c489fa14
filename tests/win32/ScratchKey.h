// A key of the test's own under HKEY_LOCAL_MACHINE\SOFTWARE, written in the
// 32-bit view as the game's 32-bit installer writes its key, and removed with
// its values afterwards. Its texts are the bytes stored, in the ANSI code page.
#pragma once

#include <cstdint>
#include <string>

class ScratchKey {
 public:
  ScratchKey();
  ~ScratchKey();
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;

  // The key's path under HKEY_LOCAL_MACHINE.
  const std::string& Path() const { return path_; }

  // A REG_SZ value holding exactly `bytes` (a terminating zero only if given).
  void SetString(const char* name, const std::string& bytes) const;
  void SetNumber(const char* name, std::uint32_t number) const;

  // Whether the key is there when HKEY_LOCAL_MACHINE is opened in the
  // 32-bit or in the 64-bit view.
  bool SeenIn32BitView() const;
  bool SeenIn64BitView() const;

 private:
  std::string path_;
  void* handle_ = nullptr;  // HKEY, open for writing in the 32-bit view
};
