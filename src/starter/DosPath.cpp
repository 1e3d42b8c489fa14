#include "starter/DosPath.h"

#include <string>
#include <system_error>

#include "platform/registry/Hive.h"

namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The entry of folder named name, with case ignored when no entry has the
// exact name; the name as written when neither exists.
std::filesystem::path EntryOf(const std::filesystem::path& folder, const std::string& name) {
  std::error_code error;
  if (std::filesystem::exists(folder / name, error)) {
    return folder / name;
  }
  const std::string wanted = FoldName(name);
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (FoldName(it->path().filename().string()) == wanted) {
      return it->path();
    }
  }
  return folder / name;
}

}  // namespace

std::optional<std::filesystem::path> UnixPathOf(const std::filesystem::path& prefix, std::string_view windowsPath) {
  if (windowsPath.size() < 2 || !IsAsciiLetter(windowsPath[0]) || windowsPath[1] != ':' ||
      (windowsPath.size() > 2 && !IsSeparator(windowsPath[2]))) {
    return std::nullopt;
  }
  const char drive[] = {static_cast<char>(windowsPath[0] | 0x20), ':', '\0'};
  std::filesystem::path unix = prefix / "dosdevices" / drive;
  std::size_t begin = 2;
  while (begin < windowsPath.size()) {
    std::size_t end = begin;
    while (end < windowsPath.size() && !IsSeparator(windowsPath[end])) {
      ++end;
    }
    const std::string name(windowsPath.substr(begin, end - begin));
    if (!name.empty() && name != ".") {
      unix = EntryOf(unix, name);
    }
    begin = end + 1;
  }
  return unix;
}
