#include "platform/ui/DeferredBrowser.h"

#include <cassert>
#include <utility>

namespace platform {

DeferredBrowser::DeferredBrowser(Maker make) : make_(std::move(make)) { assert(make_); }

void DeferredBrowser::Navigate(const std::string& uri) {
  if (view_ != nullptr) {
    view_->Navigate(uri);
  } else if (make_) {
    kept_.push_back(uri);
  }
}

void DeferredBrowser::Make() {
  if (!make_) {
    return;
  }
  view_ = std::exchange(make_, nullptr)();
  assert(view_ != nullptr && "a deferred browser is handed out only when its view can be made");
  for (const std::string& uri : std::exchange(kept_, {})) {
    if (view_ != nullptr) {
      view_->Navigate(uri);
    }
  }
}

}  // namespace platform
