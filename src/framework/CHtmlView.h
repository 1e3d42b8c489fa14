// A view window that hosts a web browser: a child window that the browser
// fills, shown pages by address.
#pragma once

#include "framework/CWnd.h"
#include "platform/ui/Browser.h"

#include <memory>
#include <optional>
#include <string>

class CHtmlView : public CWnd, private platform::BrowserHost {
 public:
  // Creates the view window, which always clips its children, and the browser
  // filling it. When no browser can be made, the window is destroyed again
  // and the result is FALSE.
  BOOL Create(const char* className, const char* windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
              void* context = nullptr) override;
  // Shows the program's HTML resource `nResId`, at "res://<program file>/<id>".
  // FALSE when the program's file path cannot be had or does not fit in
  // MAX_PATH bytes with its terminator.
  BOOL LoadFromResource(UINT nResId);
  // Starts showing the page at `url`, narrow text in the locale's encoding:
  // an address, or a local file's absolute path. The page loads on its own;
  // a text that is no valid address is dropped, as an unreachable page would
  // be. Nothing happens while the view has no browser.
  void Navigate(const char* url);

 protected:
  // A view belongs to its window: it deletes itself after the window's last message.
  void PostNcDestroy() override;

  std::unique_ptr<platform::Browser> m_pBrowserApp;  // the browser; null when there is none

 private:
  // A click in the page asks the view's window, as WM_MOUSEACTIVATE.
  platform::MouseAnswer MouseActivate() override;
  std::optional<std::string> HtmlResource(unsigned id) override;
};
