#include "platform/process/ProgramEnvironment.h"

#include <algorithm>
#include <string_view>

extern char** environ;

namespace platform {
namespace {

constexpr std::string_view kWineDebugName = "WINEDEBUG";
// Every debug channel off: no fixme, warning or error lines, and no hint of
// Debian's wine starter about a missing 32-bit Wine.
constexpr std::string_view kWineDebugQuiet = "-all";

bool Names(const std::string& entry, std::string_view name) {
  return entry.size() > name.size() && entry.starts_with(name) && entry[name.size()] == '=';
}

}  // namespace

std::vector<std::string> ProgramEnvironment(const std::vector<std::string>& environment, bool throughWine) {
  std::vector<std::string> result = environment;
  const bool playerChose = std::any_of(environment.begin(), environment.end(),
                                       [](const std::string& entry) { return Names(entry, kWineDebugName); });
  if (throughWine && !playerChose) result.push_back(std::string(kWineDebugName) + '=' + std::string(kWineDebugQuiet));
  return result;
}

std::vector<std::string> OwnEnvironment() {
  std::vector<std::string> entries;
  for (char** entry = environ; *entry != nullptr; ++entry) entries.emplace_back(*entry);
  return entries;
}

}  // namespace platform
