#include "framework/Resources.h"
#include "shell/DrawSkinButton.h"
#include "shell/LauncherWindow.h"

LRESULT LauncherWindow::OnSkinButton(WPARAM state, LPARAM lParam) {
  const auto* button = reinterpret_cast<const SkinButton*>(lParam);
  HDC hdc = GetDC();
  DrawSkinButton(hdc, AfxGetInstanceHandle(), button);
  ReleaseDC(hdc);
  if (state == SBS_PRESSED) {
    RunCommand(button->m_nId);
  }
  return 0;
}

void LauncherWindow::RunCommand(int id) {
  switch (id) {
    case 7:
      PostQuitMessage(0);
      break;
    default:
      break;
  }
}
