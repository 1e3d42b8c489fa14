// The launcher program: the application object and the entry point.
#include "app/LauncherApp.h"
#include "framework/DisplayBinding.h"
#include "platform/gtk/GtkDisplay.h"

#include <clocale>

LauncherApp theApp;

int main() {
  std::setlocale(LC_ALL, "");
  platform::GtkDisplay display;
  UseDisplay(&display);
  const int status = AfxWinMain();
  UseDisplay(nullptr);
  return status;
}
