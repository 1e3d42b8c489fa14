// A browser whose view is made later than the browser is asked for: after
// the window's first paint, so that the window shows before the web engine
// has started. Pages asked for before the view exists are kept and shown in
// the order they were asked for once it does.
#pragma once

#include "platform/ui/Browser.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

class DeferredBrowser final : public Browser {
 public:
  // Makes the view; it cannot fail, as whether a browser can be made is
  // known before a deferred one is handed out.
  using Maker = std::function<std::unique_ptr<Browser>()>;

  explicit DeferredBrowser(Maker make);

  // Shows `uri` now, or once the view is made.
  void Navigate(const std::string& uri) override;

  // Makes the view and asks it for the kept pages in order; later calls do nothing.
  void Make();
  bool IsMade() const { return !make_; }

 private:
  Maker make_;
  std::unique_ptr<Browser> view_;
  std::vector<std::string> kept_;  // pages asked for before the view was made, in order
};

}  // namespace platform
