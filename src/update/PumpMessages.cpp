#include "update/PumpMessages.h"

#include "framework/MessageQueue.h"

BOOL PumpMessages() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
    if (!GetMessage(&msg, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return FALSE;
    }
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  return TRUE;
}
