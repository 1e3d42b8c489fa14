#include "framework/CException.h"

#include <algorithm>
#include <cstring>

BOOL CException::GetErrorMessage(char* text, UINT maxChars) const {
  if (m_errorText.empty() || text == nullptr || maxChars == 0) return FALSE;
  const std::size_t length = std::min<std::size_t>(m_errorText.size(), maxChars - 1);
  std::memcpy(text, m_errorText.data(), length);
  text[length] = '\0';
  return TRUE;
}
