#include "platform/headless/HeadlessBrowser.h"

#include "platform/ui/ResourcePage.h"

namespace platform {
namespace {

class HeadlessBrowser final : public Browser {
 public:
  explicit HeadlessBrowser(HeadlessBrowserEngine::Page& page) : page_(page) {}
  ~HeadlessBrowser() override { page_.destroyed = true; }
  void Navigate(const std::string& uri) override { page_.navigations.push_back(uri); }

 private:
  HeadlessBrowserEngine::Page& page_;
};

}  // namespace

MouseAnswer HeadlessBrowserEngine::Click(std::size_t index) {
  Page& page = *pages_.at(index);
  const MouseAnswer answer = page.host->MouseActivate();
  page.focused = page.focused || answer.activate;
  return answer;
}

std::optional<std::string> HeadlessBrowserEngine::Fetch(std::size_t index, const std::string& uri) {
  return ResourcePage(uri, *pages_.at(index)->host);
}

std::unique_ptr<Browser> HeadlessBrowserEngine::CreateBrowser(NativeWindow window, ScreenRect rect, BrowserHost& host) {
  if (failure) {
    return nullptr;
  }
  auto page = std::make_unique<Page>();
  page->window = window;
  page->rect = rect;
  page->host = &host;
  pages_.push_back(std::move(page));
  return std::make_unique<HeadlessBrowser>(*pages_.back());
}

}  // namespace platform
