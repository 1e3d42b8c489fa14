// The web panel: a page view living as a member child window of the main
// window, which is neither a frame nor a document view.
#pragma once

#include "framework/CHtmlView.h"

class CHtmlCtrl : public CHtmlView {
 public:
  using CHtmlView::Create;
  // Creates the panel window as a child of pParent at rect.
  BOOL Create(const RECT& rect, CWnd* pParent, UINT nID, DWORD dwStyle);
  // Shows the page at url in the panel in place of the one shown.
  void Navigate(const char* url);
};
