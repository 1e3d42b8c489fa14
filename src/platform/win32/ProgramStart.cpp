// Windows: CreateProcess with the file found, the name as the program's own
// first argument, the launcher's environment and current directory, and no
// handle passed on; both handles it returns are closed at once.
#include <windows.h>

#include "platform/process/ProgramStart.h"

namespace platform {
namespace {

constexpr std::string_view kNeedsQuotes = " \t\n\v\"";

// One argument as the C runtime's command-line parser reads it back: quoted
// when it holds blanks or quotes, backslashes doubled only before a quote.
std::string CommandLineArgument(const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(kNeedsQuotes) == std::string::npos) return argument;
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (const char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    quoted += c;
    backslashes = 0;
  }
  quoted.append(2 * backslashes, '\\');
  return quoted + '"';
}

}  // namespace

bool StartProgram(const std::string& name, const std::vector<std::string>& arguments) {
  const std::string file = FindProgramFile(name);
  if (file.empty() || CommandForFile(file).arguments.empty()) return false;
  std::string commandLine = CommandLineArgument(name);
  for (const std::string& argument : arguments) commandLine += ' ' + CommandLineArgument(argument);

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(file.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return false;
  }
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return true;
}

}  // namespace platform
