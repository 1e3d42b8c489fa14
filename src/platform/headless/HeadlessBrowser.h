// A browser engine without a screen, for tests: every browser it makes keeps
// the addresses it was asked to show, in order, and a test can click in it
// or fetch a built-in page from it as the real engine would.
#pragma once

#include "platform/ui/Browser.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

class HeadlessBrowserEngine final : public BrowserEngine {
 public:
  struct Page {
    NativeWindow window = 0;
    ScreenRect rect;
    BrowserHost* host = nullptr;
    std::vector<std::string> navigations;  // every URI asked for, in order
    bool focused = false;                  // a click gave it the keyboard
    bool destroyed = false;
  };

  // Settings a test may change: true, no browser can be made.
  bool failure = false;

  // Every browser made, in order.
  const std::vector<std::unique_ptr<Page>>& Pages() const { return pages_; }
  // A left click in browser `index`, answered by its host.
  MouseAnswer Click(std::size_t index);
  // What the browser would be served for a built-in page's address.
  std::optional<std::string> Fetch(std::size_t index, const std::string& uri);

  std::unique_ptr<Browser> CreateBrowser(NativeWindow window, ScreenRect rect, BrowserHost& host) override;

 private:
  std::vector<std::unique_ptr<Page>> pages_;
};

}  // namespace platform
