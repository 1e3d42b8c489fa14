#include "WinInetError.h"

#include "platform/network/HeaderText.h"

#include <windows.h>

namespace platform {

std::string WinInetErrorText(unsigned long code) {
  char* text = nullptr;
  // WinINet's messages are in its own module, the others in the system's.
  const DWORD length =
      FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_FROM_SYSTEM |
                         FORMAT_MESSAGE_IGNORE_INSERTS,
                     GetModuleHandleA("wininet.dll"), code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string result;
  if (length > 0) {
    result = TrimBlanks(std::string_view(text, length));
    result += " ";
  }
  LocalFree(text);
  return result + "(error " + std::to_string(code) + ")";
}

}  // namespace platform
