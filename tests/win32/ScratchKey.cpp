#include "ScratchKey.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

HKEY Handle(void* handle) { return static_cast<HKEY>(handle); }

bool Seen(const std::string& path, REGSAM view) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

}  // namespace

ScratchKey::ScratchKey() : path_("SOFTWARE\\Moravine Registry Test " + std::to_string(GetCurrentProcessId())) {
  HKEY key = nullptr;
  const LSTATUS status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, path_.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                                         KEY_READ | KEY_WRITE | KEY_WOW64_32KEY, nullptr, &key, nullptr);
  EXPECT_EQ(status, ERROR_SUCCESS) << path_;
  handle_ = key;
}

ScratchKey::~ScratchKey() {
  if (handle_ == nullptr) return;
  RegCloseKey(Handle(handle_));
  EXPECT_EQ(RegDeleteKeyExA(HKEY_LOCAL_MACHINE, path_.c_str(), KEY_WOW64_32KEY, 0), ERROR_SUCCESS) << path_;
}

void ScratchKey::SetString(const char* name, const std::string& bytes) const {
  ASSERT_NE(handle_, nullptr);
  EXPECT_EQ(RegSetValueExA(Handle(handle_), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(bytes.data()),
                           static_cast<DWORD>(bytes.size())),
            ERROR_SUCCESS)
      << name;
}

void ScratchKey::SetNumber(const char* name, std::uint32_t number) const {
  ASSERT_NE(handle_, nullptr);
  const DWORD value = number;
  EXPECT_EQ(RegSetValueExA(Handle(handle_), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value),
            ERROR_SUCCESS)
      << name;
}

bool ScratchKey::SeenIn32BitView() const { return Seen(path_, KEY_WOW64_32KEY); }

bool ScratchKey::SeenIn64BitView() const { return Seen(path_, KEY_WOW64_64KEY); }
