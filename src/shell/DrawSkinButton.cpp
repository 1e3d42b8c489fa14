#include "shell/DrawSkinButton.h"

void DrawSkinButton(HDC hdc, HINSTANCE hInstance, const SkinButton* button) {
  std::uint32_t bitmapId = 0;
  switch (button->m_nState) {
    case SBS_NORMAL:
      bitmapId = button->m_nBitmapNormal;
      break;
    case SBS_HOVER:
      bitmapId = button->m_nBitmapHover;
      break;
    case SBS_PRESSED:
      bitmapId = button->m_nBitmapPressed;
      break;
    case SBS_DISABLED:
      bitmapId = button->m_nBitmapDisabled;
      break;
    default:
      return;
  }
  HBITMAP face = LoadBitmap(hInstance, MAKEINTRESOURCE(bitmapId & 0xFFFF));
  if (face == nullptr) {
    return;
  }
  HDC memory = CreateCompatibleDC(hdc);
  HBITMAP previous = static_cast<HBITMAP>(SelectObject(memory, face));
  BitBlt(hdc, button->m_nLeft, button->m_nTop, button->m_nRight - button->m_nLeft + 1,
         button->m_nBottom - button->m_nTop + 1, memory, 0, 0, SRCCOPY);
  SelectObject(memory, previous);
  DeleteObject(face);
  DeleteDC(memory);
}
