#include "base/RectSize.h"
#include "framework/DrawText.h"
#include "framework/Resources.h"
#include "shell/DrawSkinButton.h"
#include "shell/LauncherWindow.h"
#include "update/UpdateAgent.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

void LauncherWindow::OnPaint() {
  // The panel paints itself: drop its part of the update region first. When
  // no browser could be made there is no panel, and the background shows.
  const bool hasPanel = IsWindow(m_wndWebPanel.m_hWnd) != FALSE;
  if (hasPanel) {
    ValidateRect(&m_rcWebPanel);
  }
  PAINTSTRUCT paint;
  HDC hdc = BeginPaint(&paint);
  const RECT& p = paint.rcPaint;
  const RECT& panel = m_rcWebPanel;

  HDC memory = CreateCompatibleDC(hdc);
  HBITMAP background = LoadBitmap(AfxGetInstanceHandle(), MAKEINTRESOURCE(IDB_BACKGROUND));
  HBITMAP previous = background != nullptr ? static_cast<HBITMAP>(SelectObject(memory, background)) : nullptr;

  // The background around the panel, in four bands, picture (x,y) to window (x,y).
  const RECT bands[] = {
      {p.left, p.top, p.right, panel.top},
      {p.left, panel.top, panel.left, panel.bottom},
      {panel.right, panel.top, p.right, panel.bottom},
      {p.left, panel.bottom, p.right, p.bottom},
  };
  const RECT inside{std::max(p.left, panel.left), std::max(p.top, panel.top), std::min(p.right, panel.right),
                    std::min(p.bottom, panel.bottom)};
  if (!hasPanel && RectWidth(inside) > 0 && RectHeight(inside) > 0) {
    BitBlt(hdc, inside.left, inside.top, RectWidth(inside), RectHeight(inside), memory, inside.left, inside.top,
           SRCCOPY);
  }
  for (const RECT& band : bands) {
    if (RectWidth(band) > 0 && RectHeight(band) > 0) {
      BitBlt(hdc, band.left, band.top, RectWidth(band), RectHeight(band), memory, band.left, band.top, SRCCOPY);
    }
  }

  for (int i = 0; i < m_buttons.GetCount(); ++i) {
    DrawSkinButton(hdc, AfxGetInstanceHandle(), m_buttons.GetAt(i));
  }

  // The status lines, over the background the bottom band just laid down.
  const int bkMode = GetBkMode(hdc);
  SetBkMode(hdc, TRANSPARENT);
  if (m_szVersionText[0] != '\0') {
    DrawTextA(hdc, m_szVersionText, static_cast<int>(std::strlen(m_szVersionText)), &m_rcVersionText, DT_VCENTER);
  }
  if (m_pUpdateAgent != nullptr && m_bDownloading) {
    DrawTextA(hdc, m_szProgressText, static_cast<int>(std::strlen(m_szProgressText)), &m_rcProgressText,
              DT_VCENTER | DT_RIGHT);
  }
  SetBkMode(hdc, bkMode);

  if (previous != nullptr) {
    SelectObject(memory, previous);
  }
  if (background != nullptr) {
    DeleteObject(background);
  }
  DeleteDC(memory);
  EndPaint(&paint);
}

void LauncherWindow::UpdateStatusText() {
  // The registry is read again on every tick, so a change shows at once.
  m_pUpdateAgent->ReadInstalledVersion();
  char prefix[64];
  LoadString(AfxGetInstanceHandle(), IDS_VERSION_PREFIX, prefix, sizeof prefix);
  std::snprintf(m_szVersionText, sizeof m_szVersionText, "%s%s", prefix, m_pUpdateAgent->m_szInstalledVersion);
  InvalidateRect(&m_rcVersionText, FALSE);

  if (m_pUpdateAgent != nullptr && m_bDownloading) {
    LoadString(AfxGetInstanceHandle(), IDS_PROGRESS_PREFIX, prefix, sizeof prefix);
    std::snprintf(m_szProgressText, sizeof m_szProgressText, "%s%d %%", prefix, m_pUpdateAgent->m_nDownloadPercent);
    InvalidateRect(&m_rcProgressText, FALSE);
  }
}
