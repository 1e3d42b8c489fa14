// Windows: a bare program name is looked for where CreateProcess looks for
// it, and only a Windows program runs.
#include <windows.h>

#include <fstream>

#include "platform/process/ProgramStart.h"

namespace platform {
namespace {

constexpr char kProgramExtension[] = ".exe";
constexpr char kProgramSignature[] = "MZ";
constexpr std::string_view kFolderMarks = "\\/:";
constexpr char kListSeparator = ';';

bool IsRegularFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// A text a system call fills into a buffer it is given, asked for again with
// the size it says it needs until it fits; empty when the call fails.
template <class Call>
std::string Filled(Call call) {
  std::string text(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = call(text.data(), static_cast<DWORD>(text.size()));
    if (length == 0) return {};
    if (length < text.size()) {
      text.resize(length);
      return text;
    }
    text.resize(length + 1);
  }
}

std::string OwnFolder() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const std::size_t slash = path.find_last_of(kFolderMarks);
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// CreateProcess's order: the launcher's folder, the current directory, the
// system folder, the Windows folder, then the folders of PATH.
std::string SearchOrder() {
  const std::string folders[] = {
      OwnFolder(),
      Filled([](char* buffer, DWORD size) { return GetCurrentDirectoryA(size, buffer); }),
      Filled([](char* buffer, DWORD size) { return GetSystemDirectoryA(buffer, size); }),
      Filled([](char* buffer, DWORD size) { return GetWindowsDirectoryA(buffer, size); }),
      Filled([](char* buffer, DWORD size) { return GetEnvironmentVariableA("PATH", buffer, size); }),
  };
  std::string order;
  for (const std::string& folder : folders) {
    if (folder.empty()) continue;
    if (!order.empty()) order += kListSeparator;
    order += folder;
  }
  return order;
}

}  // namespace

std::string FindProgramFile(const std::string& name) {
  if (name.empty()) return {};
  if (name.find_first_of(kFolderMarks) != std::string::npos) return IsRegularFile(name) ? name : std::string();
  const std::string order = SearchOrder();
  const std::string found = Filled([&](char* buffer, DWORD size) {
    return SearchPathA(order.c_str(), name.c_str(), kProgramExtension, size, buffer, nullptr);
  });
  return !found.empty() && IsRegularFile(found) ? found : std::string();
}

ProgramCommand CommandForFile(const std::string& file) {
  std::ifstream stream(file, std::ios::binary);
  std::string head(std::char_traits<char>::length(kProgramSignature), '\0');
  if (!stream.read(head.data(), static_cast<std::streamsize>(head.size())) || head != kProgramSignature) return {};
  return {{file}, false};
}

}  // namespace platform
