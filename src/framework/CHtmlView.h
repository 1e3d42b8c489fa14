// A view window that hosts a web page: a child window whose content the
// display draws itself.
#pragma once

#include "framework/CWnd.h"

class CHtmlView : public CWnd {
 public:
  // The view always clips its children.
  BOOL Create(const char* className, const char* windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
              void* context = nullptr) override;
};
