// Windows: the system's registry in the 32-bit view, where the game's 32-bit
// installer wrote its key. Read live: every call asks the system.
#include "platform/registry/MachineKey.h"

#include <windows.h>

#include <algorithm>
#include <cassert>

struct RegistryKey {
  HKEY handle;
};

namespace {

// A value may grow between asking its size and reading it; one that keeps
// growing under the reader is not seen this time, after this many reads.
constexpr int kReadAttempts = 3;

}  // namespace

std::int32_t OpenMachineKey(const char* subKey, RegistryKey** key) {
  HKEY handle = nullptr;
  const LSTATUS status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey, 0, KEY_READ | KEY_WOW64_32KEY, &handle);
  if (status != ERROR_SUCCESS) {
    return status;
  }
  *key = new RegistryKey{handle};
  return ERROR_SUCCESS;
}

std::int32_t ReadStringValue(const RegistryKey& key, const char* name, std::string* value) {
  DWORD type = 0;
  DWORD size = 0;
  LSTATUS status = RegQueryValueExA(key.handle, name, nullptr, &type, nullptr, &size);
  for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
    if (status != ERROR_SUCCESS) {
      return status;
    }
    if (type != REG_SZ || size > kMaxStringValueSize) {
      return ERROR_FILE_NOT_FOUND;
    }
    std::string data(size, '\0');
    DWORD got = size;
    status = RegQueryValueExA(key.handle, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &got);
    if (status == ERROR_MORE_DATA) {
      size = got;
      status = ERROR_SUCCESS;
      continue;
    }
    if (status != ERROR_SUCCESS) {
      return status;
    }
    if (type != REG_SZ) {
      return ERROR_FILE_NOT_FOUND;
    }
    // A stored string need not end in a zero; it ends at the first one.
    data.resize(std::min<std::size_t>(got, size));
    data.resize(data.find('\0') == std::string::npos ? data.size() : data.find('\0'));
    *value = std::move(data);
    return ERROR_SUCCESS;
  }
  return ERROR_FILE_NOT_FOUND;
}

void CloseMachineKey(RegistryKey* key) {
  assert(key != nullptr);
  const LSTATUS status = RegCloseKey(key->handle);
  assert(status == ERROR_SUCCESS);
  (void)status;
  delete key;
}
