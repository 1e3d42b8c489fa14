#include "framework/CException.h"

#include <algorithm>
#include <cstring>

BOOL CException::GetErrorMessage(char* text, UINT maxChars) const {
  if (errorText_.empty() || text == nullptr || maxChars == 0) return FALSE;
  const std::size_t length = std::min<std::size_t>(errorText_.size(), maxChars - 1);
  std::memcpy(text, errorText_.data(), length);
  text[length] = '\0';
  return TRUE;
}
