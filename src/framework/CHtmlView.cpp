#include "framework/CHtmlView.h"

BOOL CHtmlView::Create(const char* className, const char* windowName, DWORD style, const RECT& rect, CWnd* parent,
                       UINT id, void* context) {
  return CWnd::Create(className, windowName, style | WS_CLIPCHILDREN, rect, parent, id, context);
}
