#include "shell/ButtonBar.h"

#include "framework/MessageQueue.h"

namespace {

// All four edges are inclusive.
bool IsOver(const SkinButton& button, int x, int y) {
  return button.m_nLeft <= x && x <= button.m_nRight && button.m_nTop <= y && y <= button.m_nBottom;
}

void Notify(SkinButton* button, int state) {
  PostMessage(button->m_hWndParent, WM_SKINBUTTON, static_cast<WPARAM>(state), reinterpret_cast<LPARAM>(button));
}

}  // namespace

ButtonBar::~ButtonBar() {
  for (SkinButton* button : m_items) {
    delete button;
  }
}

void ButtonBar::Add(SkinButton* button) { m_items.push_back(button); }

int ButtonBar::GetCount() const { return static_cast<int>(m_items.size()); }

SkinButton* ButtonBar::GetAt(int index) const { return m_items[static_cast<std::size_t>(index)]; }

void ButtonBar::EnableButton(int id, BOOL bEnable, BOOL bNotify) {
  for (SkinButton* button : m_items) {
    if (button->m_nId != id) {
      continue;
    }
    const bool enable = bEnable != FALSE;
    if (enable == (button->m_nState == SBS_DISABLED)) {
      const int state = enable ? SBS_NORMAL : SBS_DISABLED;
      button->m_nState = state;
      if (bNotify) {
        Notify(button, state);
      }
    }
    return;
  }
}

void ButtonBar::OnMouseMove(int x, int y) {
  for (SkinButton* button : m_items) {
    if (button->m_nState == SBS_DISABLED) {
      continue;
    }
    button->m_nState = IsOver(*button, x, y) ? SBS_HOVER : SBS_NORMAL;
    Notify(button, button->m_nState);
  }
}

void ButtonBar::OnLButtonDown(int x, int y) {
  for (SkinButton* button : m_items) {
    if (button->m_nState != SBS_DISABLED && IsOver(*button, x, y)) {
      button->m_nState = SBS_PRESSED;
      Notify(button, SBS_PRESSED);
      return;
    }
  }
}
