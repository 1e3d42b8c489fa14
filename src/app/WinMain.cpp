// The launcher program on Windows: the application object and the entry point.
#include "app/LauncherApp.h"

LauncherApp theApp;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return AfxWinMain(); }
