// The framework's exceptions: what its internet and file classes raise when
// the platform refuses an operation. The launcher's own code lets them pass;
// the window-message dispatch shows them to the player.
#pragma once

#include "base/WinTypes.h"

#include <string>

class CException {
 public:
  virtual ~CException() = default;

  // Copies the error text (locale encoding) into text, cut to fit maxChars
  // bytes with its terminator. FALSE, and text left alone, when there is none.
  BOOL GetErrorMessage(char* text, UINT maxChars) const;

 protected:
  explicit CException(std::string errorText) : errorText_(std::move(errorText)) {}

 private:
  std::string errorText_;
};
