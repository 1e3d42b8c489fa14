#include "webpanel/CHtmlCtrl.h"

BOOL CHtmlCtrl::Create(const RECT& rect, CWnd* pParent, UINT nID, DWORD dwStyle) {
  return CHtmlView::Create(nullptr, nullptr, dwStyle, rect, pParent, nID);
}
