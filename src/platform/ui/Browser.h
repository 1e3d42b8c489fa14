// A web browser shown inside a child window: it loads pages from the network,
// from local files and from the program's own built-in pages, and runs on its
// own (links, keys, context menu, error pages). One implementation embeds
// WebKitGTK; a headless one records what it was asked to show.
#pragma once

#include "platform/ui/Display.h"

#include <memory>
#include <optional>
#include <string>

namespace platform {

// How a click in the page is taken, as the window around the browser decides.
struct MouseAnswer {
  bool activate = true;  // the page takes the keyboard focus and its window comes forward
  bool eat = false;      // the click goes no further into the page
};

// What the browser asks of the window that holds it.
class BrowserHost {
 public:
  // A mouse button went down in the page.
  virtual MouseAnswer MouseActivate() = 0;
  // The bytes of the program's built-in HTML page `id`, or nothing when there is none.
  virtual std::optional<std::string> HtmlResource(unsigned id) = 0;

 protected:
  ~BrowserHost() = default;
};

// One browser; destroying the object takes it out of its window.
class Browser {
 public:
  virtual ~Browser() = default;
  // Starts loading `uri` (UTF-8, a URI as BrowserUri makes it); the load runs on its own.
  virtual void Navigate(const std::string& uri) = 0;
};

class BrowserEngine {
 public:
  virtual ~BrowserEngine() = default;
  // A browser filling `rect` (client pixels) of the child window `window`,
  // serving `host`, which outlives it. Null when none can be made.
  virtual std::unique_ptr<Browser> CreateBrowser(NativeWindow window, ScreenRect rect, BrowserHost& host) = 0;
};

}  // namespace platform
