// The browser engine of the Windows program: the system's web browser
// control (IWebBrowser2), one in each child window asked for, hosted
// through OLE by the program's own container objects.
#pragma once

#include "platform/ui/Browser.h"

#include <windows.h>

namespace platform {

class WebBrowserEngine final : public BrowserEngine {
 public:
  // Browsers of the web browser control, showing pages with the system's HTML engine.
  WebBrowserEngine();
  // Browsers of the COM class `control`, which stands in for the control,
  // made only where the COM class `document` (the HTML engine's document) can be.
  WebBrowserEngine(const CLSID& control, const CLSID& document);
  // Ends OLE on the thread when this engine started it; its browsers are gone.
  ~WebBrowserEngine() override;
  WebBrowserEngine(const WebBrowserEngine&) = delete;
  WebBrowserEngine& operator=(const WebBrowserEngine&) = delete;

  // Starts OLE on the calling thread, the user-interface thread, on the
  // first call. Null when OLE cannot start there, `window` is no window,
  // the HTML engine is missing (as under Wine without it: the control is
  // made there, but shows no page), or the control cannot be made or shown
  // in the window.
  std::unique_ptr<Browser> CreateBrowser(NativeWindow window, ScreenRect rect, BrowserHost& host) override;

 private:
  enum class Ole { kNotStarted, kStarted, kFailed };

  // Starts OLE and looks for the HTML engine, once; whether browsers can be made.
  bool Start();

  CLSID control_;
  CLSID document_;
  Ole ole_ = Ole::kNotStarted;
  bool engineFound_ = false;
};

}  // namespace platform
