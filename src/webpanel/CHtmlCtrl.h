// The web panel: a page view living as a member child window of the main
// window, which is neither a frame nor a document view.
#pragma once

#include "framework/CHtmlView.h"

class CHtmlCtrl : public CHtmlView {
 public:
  using CHtmlView::Create;
  // Creates the panel window as a child of pParent at rect, with the browser
  // inside; FALSE, and no window, when the browser cannot be made.
  BOOL Create(const RECT& rect, CWnd* pParent, UINT nID, DWORD dwStyle);

 protected:
  const MessageMap* GetMessageMap() const override;
  // The object is a member of its parent's object: the end of the window leaves it alone.
  void PostNcDestroy() override;

  // Releases the browser, then the plain window tear-down.
  void OnDestroy();
  // Windows' default answer: the click activates as in any window.
  LRESULT OnMouseActivate(WPARAM wParam, LPARAM lParam);
};
