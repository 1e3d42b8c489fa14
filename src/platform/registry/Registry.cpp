#include "platform/registry/Registry.h"

#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "base/NarrowText.h"
#include "platform/registry/MachineHive.h"

struct RegistryKey {
  // The registry as it was when the key was opened.
  std::shared_ptr<const Hive> hive;
  HiveKey key;
};

namespace {

// A 32-bit program in a 64-bit prefix sees Software\Wow6432Node as SOFTWARE;
// keys it does not find there it looks for under the plain path.
std::optional<HiveKey> FindKeyAs32BitProgram(const Hive& hive, const std::string& path) {
  constexpr std::string_view SOFTWARE = "software";
  if (hive.Win64()) {
    const std::string folded = FoldName(path);
    const bool underSoftware =
        folded.starts_with(SOFTWARE) && (folded.size() == SOFTWARE.size() || folded[SOFTWARE.size()] == '\\');
    if (underSoftware) {
      const std::string redirected = "software\\wow6432node" + folded.substr(SOFTWARE.size());
      if (const auto key = hive.FindKey(redirected)) {
        return key;
      }
    }
  }
  return hive.FindKey(path);
}

}  // namespace

LSTATUS RegOpenKeyEx(HKEY key, const char* subKey, DWORD, DWORD, HKEY* result) {
  if (result == nullptr || subKey == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  if (key != HKEY_LOCAL_MACHINE) {
    return ERROR_INVALID_HANDLE;
  }
  std::shared_ptr<const Hive> hive = ProcessMachineHive().Current();
  if (hive == nullptr) {
    return ERROR_FILE_NOT_FOUND;
  }
  const auto found = FindKeyAs32BitProgram(*hive, Utf8FromLocale(subKey));
  if (!found) {
    return ERROR_FILE_NOT_FOUND;
  }
  *result = new RegistryKey{std::move(hive), *found};
  return ERROR_SUCCESS;
}

LSTATUS RegQueryValueEx(HKEY key, const char* name, DWORD*, DWORD* type, BYTE* data, DWORD* size) {
  if (key == nullptr || key == HKEY_LOCAL_MACHINE) {
    return ERROR_INVALID_HANDLE;
  }
  if (data != nullptr && size == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  const auto value = key->hive->FindString(key->key, Utf8FromLocale(name != nullptr ? name : ""));
  if (!value) {
    return ERROR_FILE_NOT_FOUND;
  }
  const std::string text = LocaleFromUtf8(*value);
  const auto needed = static_cast<DWORD>(text.size() + 1);
  if (type != nullptr) {
    *type = REG_SZ;
  }
  if (data == nullptr) {
    if (size != nullptr) {
      *size = needed;
    }
    return ERROR_SUCCESS;
  }
  const DWORD offered = *size;
  *size = needed;
  if (offered < needed) {
    std::memcpy(data, text.c_str(), offered);
    return ERROR_MORE_DATA;
  }
  std::memcpy(data, text.c_str(), needed);
  return ERROR_SUCCESS;
}

LSTATUS RegCloseKey(HKEY key) {
  if (key == nullptr) {
    return ERROR_INVALID_HANDLE;
  }
  if (key != HKEY_LOCAL_MACHINE) {
    delete key;
  }
  return ERROR_SUCCESS;
}
