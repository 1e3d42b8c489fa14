#include "shell/LauncherWindow.h"

void LauncherWindow::ShowStartPage() {
  KillTimer(m_nTimer);
  m_nTimer = 0;
  m_nTimer = SetTimer(IDT_STATUS, 100, nullptr);
  m_nDownloadTimer = SetTimer(IDT_DOWNLOAD, 10, nullptr);
}
