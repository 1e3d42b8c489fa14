// A browser whose view is made after the window's first paint: the pages
// asked for before are shown in order once the view exists, and the view
// is made once.
#include "platform/ui/DeferredBrowser.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using platform::DeferredBrowser;

// The view the deferred browser makes: it logs what it is asked.
class LogView final : public platform::Browser {
 public:
  explicit LogView(std::vector<std::string>& log) : log_(log) { log_.push_back("made"); }
  ~LogView() override { log_.push_back("destroyed"); }
  LogView(const LogView&) = delete;
  LogView& operator=(const LogView&) = delete;
  void Navigate(const std::string& uri) override { log_.push_back(uri); }

 private:
  std::vector<std::string>& log_;
};

struct Case {
  const char* name;
  std::vector<std::string> steps;     // "make", or an address to navigate to
  std::vector<std::string> expected;  // the view's log, "destroyed" at the browser's end included
};

TEST(DeferredBrowserTest, PagesAskedForBeforeTheViewAreShownInOrderOnceItIsMadeAndLaterOnesAtOnce) {
  const std::vector<Case> cases = {
      {"the blank page, then the start page before the first paint",
       {"res://launcher/101", "http://host/news.htm", "make"},
       {"made", "res://launcher/101", "http://host/news.htm", "destroyed"}},
      {"the start page after the view is made",
       {"res://launcher/101", "make", "http://host/news.htm"},
       {"made", "res://launcher/101", "http://host/news.htm", "destroyed"}},
      {"a view made twice is made once", {"make", "a:1", "make", "a:2"}, {"made", "a:1", "a:2", "destroyed"}},
      {"nothing asked for", {"make"}, {"made", "destroyed"}},
      {"a browser gone before the paint makes no view", {"res://launcher/101"}, {}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> log;
    {
      DeferredBrowser browser([&log] { return std::make_unique<LogView>(log); });
      for (const std::string& step : c.steps) {
        if (step == "make") {
          browser.Make();
          EXPECT_TRUE(browser.IsMade()) << c.name;
        } else {
          browser.Navigate(step);
        }
      }
    }
    EXPECT_EQ(log, c.expected) << c.name;
  }
}

}  // namespace
