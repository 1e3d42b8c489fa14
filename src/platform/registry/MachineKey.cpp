// Linux: the keys of the Wine prefix's machine registry file.
#include "platform/registry/MachineKey.h"

#include <memory>

#include "base/NarrowText.h"
#include "platform/registry/MachineHive.h"
#include "platform/registry/Registry.h"

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

std::int32_t OpenMachineKey(const char* subKey, RegistryKey** key) {
  std::shared_ptr<const Hive> hive = ProcessMachineHive().Current();
  if (hive == nullptr) {
    return ERROR_FILE_NOT_FOUND;
  }
  const auto found = FindKeyAs32BitProgram(*hive, Utf8FromLocale(subKey));
  if (!found) {
    return ERROR_FILE_NOT_FOUND;
  }
  *key = new RegistryKey{std::move(hive), *found};
  return ERROR_SUCCESS;
}

std::int32_t ReadStringValue(const RegistryKey& key, const char* name, std::string* value) {
  const auto found = key.hive->FindString(key.key, Utf8FromLocale(name));
  if (!found) {
    return ERROR_FILE_NOT_FOUND;
  }
  *value = LocaleFromUtf8(*found);
  return ERROR_SUCCESS;
}

void CloseMachineKey(RegistryKey* key) { delete key; }
