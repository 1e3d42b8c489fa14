#include "framework/ConnectedState.h"
#include "framework/CurrentDirectory.h"
#include "shell/LauncherWindow.h"
#include "update/WebHost.h"

#include <cstdio>

void LauncherWindow::ShowStartPage() {
  KillTimer(m_nTimer);
  m_nTimer = 0;

  DWORD flags = 0;
  if (InternetGetConnectedState(&flags, 0)) {
    m_wndWebPanel.Navigate(NewsPageUrl().c_str());
  } else {
    char directory[261];
    char page[sizeof directory + sizeof kLocalStartPage + 1];
    if (GetCurrentDirectory(sizeof directory, directory) != 0) {
      std::snprintf(page, sizeof page, "%s/%s", directory, kLocalStartPage);
    } else {
      // Without a directory the bare name is shown, which the browser answers with its error page.
      std::snprintf(page, sizeof page, "%s", kLocalStartPage);
    }
    m_wndWebPanel.Navigate(page);
  }

  m_nTimer = SetTimer(IDT_STATUS, kStatusPeriodMs, nullptr);
}
