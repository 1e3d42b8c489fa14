#include "starter/GameFolder.h"

#include <memory>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "base/GameKey.h"
#include "platform/registry/MachineHive.h"
#include "platform/registry/Registry.h"
#include "starter/DosPath.h"

namespace {

struct KeyCloser {
  void operator()(RegistryKey* key) const { RegCloseKey(key); }
};
using OpenKey = std::unique_ptr<RegistryKey, KeyCloser>;

// The game's install path as the registry holds it; empty when the key or
// the value is missing or the value is an empty text. The program runs in
// the C locale, so the text comes as UTF-8, as Wine names the files.
std::optional<std::string> ReadInstallPath() {
  HKEY opened = nullptr;
  if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, kGameKey, 0, KEY_READ | KEY_WOW64_32KEY, &opened) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  const OpenKey key(opened);
  DWORD size = 0;
  if (RegQueryValueEx(key.get(), kInstallPathValue, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS || size <= 1) {
    return std::nullopt;
  }
  std::vector<BYTE> text(size);
  if (RegQueryValueEx(key.get(), kInstallPathValue, nullptr, nullptr, text.data(), &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::string(reinterpret_cast<const char*>(text.data()));
}

GameFolderLookup Problem(std::string problem) { return {std::nullopt, std::move(problem)}; }

}  // namespace

GameFolderLookup FindGameFolder() {
  const std::filesystem::path registry = MachineRegistryPath();
  const std::string prefix = registry.parent_path().string();
  std::error_code error;
  if (!std::filesystem::is_regular_file(registry, error)) {
    return Problem("there is no Wine prefix at " + prefix +
                   " (no system.reg); set WINEPREFIX to the prefix Moravine is installed in");
  }
  const auto installPath = ReadInstallPath();
  if (!installPath) {
    return Problem("Moravine is not installed in the Wine prefix " + prefix +
                   ": its registry names no game folder (value InstallPath of "
                   "HKEY_LOCAL_MACHINE\\SOFTWARE\\Veltrano\\Moravine Cht)");
  }
  const auto folder = UnixPathOf(registry.parent_path(), *installPath);
  if (!folder) {
    return Problem("the game folder \"" + *installPath + "\" named by the registry of the Wine prefix " + prefix +
                   " is not on one of its drives");
  }
  if (!std::filesystem::is_directory(*folder, error)) {
    return Problem("the game folder " + folder->string() + " (\"" + *installPath +
                   "\" in the Wine prefix's registry) is missing; install Moravine again");
  }
  return {folder, {}};
}
