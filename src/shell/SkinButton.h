// A picture button painted on the main window: a rectangle of its client
// area with a command id, a face for each state and its current state.
#pragma once

#include "base/WinTypes.h"

#include <cstdint>

inline constexpr int SBS_NORMAL = 0;    // idle, pointer not over it
inline constexpr int SBS_HOVER = 1;     // pointer over it at the last mouse move
inline constexpr int SBS_PRESSED = 2;   // left button went down on it
inline constexpr int SBS_DISABLED = 3;  // ignores the mouse

// Posted by the buttons to their window for every state change:
// wParam the new state, lParam the SkinButton.
inline constexpr UINT WM_SKINBUTTON = WM_USER + 10;

class SkinButton {
 public:
  // The edges are stored inclusive: right = x + width - 1, bottom = y + height - 1.
  SkinButton(HWND parent, int x, int y, int width, int height, int id, int normal, int hover, int pressed,
             int disabled);
  virtual ~SkinButton() = default;

  HWND m_hWndParent;
  std::int32_t m_nLeft;
  std::int32_t m_nTop;
  std::int32_t m_nRight;
  std::int32_t m_nBottom;
  std::int32_t m_nId;
  std::uint32_t m_nBitmapNormal;
  std::uint32_t m_nBitmapHover;
  std::uint32_t m_nBitmapPressed;
  std::uint32_t m_nBitmapDisabled;
  std::int32_t m_nState;
};
