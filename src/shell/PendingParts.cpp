// Stand-ins for the patch download and the web panel's page loading, which
// are built in their own files elsewhere; this file goes when those arrive.
#include "shell/LauncherWindow.h"

void LauncherWindow::DownloadPatch(const char*) {}

void CHtmlCtrl::Navigate(const char*) {}
