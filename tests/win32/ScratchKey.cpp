#include "ScratchKey.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <utility>

namespace {

HKEY Handle(void* handle) { return static_cast<HKEY>(handle); }

}  // namespace

ScratchKey::ScratchKey(std::string path, std::uint32_t view) : path_(std::move(path)), view_(view) {
  HKEY key = nullptr;
  const LSTATUS status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, path_.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                                         KEY_READ | KEY_WRITE | view_, nullptr, &key, nullptr);
  EXPECT_EQ(status, ERROR_SUCCESS) << path_;
  handle_ = key;
}

ScratchKey::~ScratchKey() {
  if (handle_ == nullptr) return;
  RegCloseKey(Handle(handle_));
  EXPECT_EQ(RegDeleteKeyExA(HKEY_LOCAL_MACHINE, path_.c_str(), view_, 0), ERROR_SUCCESS) << path_;
}

void ScratchKey::SetString(const char* name, const std::string& bytes) const {
  ASSERT_NE(handle_, nullptr);
  EXPECT_EQ(RegSetValueExA(Handle(handle_), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(bytes.data()),
                           static_cast<DWORD>(bytes.size())),
            ERROR_SUCCESS)
      << name;
}
