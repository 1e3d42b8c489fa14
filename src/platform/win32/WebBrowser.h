// One web browser control filling a child window: made there, activated in
// place, kept the size of the window, navigated by address, and taken out of
// the window with the object. A click in it asks the host whether it
// activates, as WM_MOUSEACTIVATE asks a window's parent.
#pragma once

#include "platform/ui/Browser.h"

#include <windows.h>

#include <memory>

namespace platform {

// A browser of the COM class `control` in `window` at `rect` (client
// pixels); null, with the reason written to the error output, when the
// control cannot be made or activated there. OLE is running on this thread.
std::unique_ptr<Browser> MakeWebBrowser(const CLSID& control, HWND window, const RECT& rect, BrowserHost& host);

}  // namespace platform
