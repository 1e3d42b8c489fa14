#include "framework/ShellExecute.h"

#include "platform/desktop/DesktopHandlers.h"
#include "platform/process/ProgramStart.h"

#include <cstring>
#include <string>

namespace {

constexpr INT_PTR kStarted = 42;

INT_PTR Result(platform::HandlerStart start) {
  switch (start) {
    case platform::HandlerStart::Started:
      return kStarted;
    case platform::HandlerStart::NoFile:
      return SE_ERR_FNF;
    case platform::HandlerStart::NoHandler:
      return SE_ERR_NOASSOC;
    case platform::HandlerStart::NotStarted:
      return SE_ERR_ACCESSDENIED;
  }
  return SE_ERR_NOASSOC;
}

INT_PTR StartWithParameters(const char* program, const char* parameters) {
  const std::string file = platform::FindProgramFile(program);
  if (file.empty()) return SE_ERR_FNF;
  if (platform::ProgramArguments(file).empty()) return ERROR_BAD_FORMAT;
  return platform::StartProgram(program, {parameters}) ? kStarted : SE_ERR_ACCESSDENIED;
}

}  // namespace

INT_PTR ShellExecute(HWND, const char* operation, const char* file, const char* parameters, const char*, int) {
  if (file == nullptr) return SE_ERR_FNF;
  if (operation == nullptr || std::strcmp(operation, "open") == 0) {
    if (parameters != nullptr && *parameters != '\0') return StartWithParameters(file, parameters);
    return Result(platform::OpenWithDefaultHandler(file));
  }
  if (std::strcmp(operation, "explore") == 0) return Result(platform::OpenWithFileManager(file));
  return SE_ERR_NOASSOC;
}
