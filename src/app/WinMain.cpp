// The launcher program on Windows: the application object and the entry
// point, with the web panel's browsers made by the web browser control.
#include "app/LauncherApp.h"
#include "framework/BrowserBinding.h"
#include "platform/win32/WebBrowserEngine.h"

LauncherApp theApp;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  platform::WebBrowserEngine browsers;
  UseBrowserEngine(&browsers);
  const int status = AfxWinMain();
  UseBrowserEngine(nullptr);
  return status;
}
