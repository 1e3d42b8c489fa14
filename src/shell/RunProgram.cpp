#include "shell/RunProgram.h"

#include "framework/MessageBox.h"
#include "platform/process/ProgramStart.h"

BOOL RunProgram(const char* commandLine) {
  if (commandLine != nullptr && platform::StartProgram(commandLine)) return TRUE;
  MessageBox(nullptr, "CreateProcess failed.", nullptr, MB_OK);
  return FALSE;
}
