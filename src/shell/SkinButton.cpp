#include "shell/SkinButton.h"

SkinButton::SkinButton(HWND parent, int x, int y, int width, int height, int id, int normal, int hover, int pressed,
                       int disabled)
    : m_hWndParent(parent),
      m_nLeft(x),
      m_nTop(y),
      m_nRight(x + width - 1),
      m_nBottom(y + height - 1),
      m_nId(id),
      m_nBitmapNormal(static_cast<std::uint32_t>(normal)),
      m_nBitmapHover(static_cast<std::uint32_t>(hover)),
      m_nBitmapPressed(static_cast<std::uint32_t>(pressed)),
      m_nBitmapDisabled(static_cast<std::uint32_t>(disabled)),
      m_nState(SBS_NORMAL) {}
