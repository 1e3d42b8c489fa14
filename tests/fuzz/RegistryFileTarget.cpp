// The Wine prefix's machine registry file as the launcher reads it. Each
// input becomes system.reg of a prefix in /dev/shm (written to a new file and
// renamed over the last, as Wine saves it), WINEPREFIX names that prefix, and
// an UpdateAgent reads the installed version from it in each locale.
#include "FuzzTarget.h"
#include "platform/registry/MachineHive.h"
#include "update/UpdateAgent.h"
#include "update/VersionText.h"

#include <algorithm>
#include <clocale>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

std::filesystem::path prefix;

void RemovePrefix() {
  std::error_code ignored;
  std::filesystem::remove_all(prefix, ignored);
}

void WriteRegistryFile(const std::uint8_t* data, std::size_t size) {
  const std::filesystem::path fresh = prefix / "system.reg.new";
  {
    std::ofstream file(fresh, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    Require(file.good(), "the registry file is written");
  }
  std::filesystem::rename(fresh, prefix / "system.reg");
}

}  // namespace

void FuzzInitialize() {
  char pattern[] = "/dev/shm/moravine-fuzz-prefix-XXXXXX";
  Require(mkdtemp(pattern) != nullptr, "a prefix folder in /dev/shm is made");
  prefix = pattern;
  std::atexit(RemovePrefix);
  setenv("WINEPREFIX", pattern, 1);
  FuzzLocales();
}

int FuzzOneInput(const std::uint8_t* data, std::size_t size) {
  WriteRegistryFile(data, size);
  const int parsesBefore = ProcessMachineHive().ParseCount();
  for (const char* locale : FuzzLocales()) {
    std::setlocale(LC_ALL, locale);
    UpdateAgent agent;
    Require(agent.ReadInstalledVersion(), "reading the installed version succeeds");
    Require(std::memchr(agent.m_szInstalledVersion, '\0', sizeof agent.m_szInstalledVersion) != nullptr,
            "the installed version text is terminated within its field");
    int components[VERSION_COMPONENTS];
    ParseVersion(agent.m_szInstalledVersion, components);
    Require(std::equal(components, components + VERSION_COMPONENTS, agent.m_pInstalledVersion),
            "the components are those of the text");
  }
  Require(ProcessMachineHive().ParseCount() == parsesBefore + 1, "each replaced file is parsed exactly once");
  return 0;
}
