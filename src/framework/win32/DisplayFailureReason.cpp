#include "framework/DisplayBinding.h"

#include "base/WinTypes.h"

#include <system_error>

std::string DisplayFailureReason() {
  const DWORD error = GetLastError();
  return error != ERROR_SUCCESS ? std::system_category().message(static_cast<int>(error)) : std::string();
}
