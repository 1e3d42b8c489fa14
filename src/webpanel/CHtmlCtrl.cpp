#include "webpanel/CHtmlCtrl.h"

BOOL CHtmlCtrl::Create(const RECT& rect, CWnd* pParent, UINT nID, DWORD dwStyle) {
  return CHtmlView::Create(nullptr, nullptr, dwStyle, rect, pParent, nID);
}

const MessageMap* CHtmlCtrl::GetMessageMap() const {
  static const MessageMap map{CHtmlView::GetThisMessageMap(),
                              {
                                  msgmap::Destroy(&CHtmlCtrl::OnDestroy),
                                  msgmap::Message(WM_MOUSEACTIVATE, &CHtmlCtrl::OnMouseActivate),
                              }};
  return &map;
}

void CHtmlCtrl::PostNcDestroy() {}

void CHtmlCtrl::OnDestroy() {
  m_pBrowserApp.reset();
  CWnd::OnDestroy();
}

LRESULT CHtmlCtrl::OnMouseActivate(WPARAM, LPARAM) { return Default(); }
