// The launcher program: the application object and the entry point.
#include "app/LauncherApp.h"
#include "framework/BrowserBinding.h"
#include "framework/DisplayBinding.h"
#include "platform/gtk/GtkBrowser.h"
#include "platform/gtk/GtkDisplay.h"

#include <clocale>

LauncherApp theApp;

int main() {
  std::setlocale(LC_ALL, "");
  platform::GtkDisplay display;
  UseDisplay(&display);
  platform::GtkBrowserEngine browsers(display);
  UseBrowserEngine(&browsers);
  const int status = AfxWinMain();
  UseBrowserEngine(nullptr);
  UseDisplay(nullptr);
  return status;
}
