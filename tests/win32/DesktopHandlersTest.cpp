// The shell's verbs on Windows: what they report when nothing can be opened.
// (Nothing here is really opened: a test must not start a browser.)
#include "platform/desktop/DesktopHandlers.h"

#include <gtest/gtest.h>

#include "ProbeSupport.h"

namespace {

TEST(DesktopHandlersTest, AMissingFileOrAFileOfNoKnownTypeIsReportedAsSuch) {
  const ScratchDirectory scratch;
  scratch.Put("notes.moravine-unknown-type", "text");
  const struct {
    std::string target;
    platform::HandlerStart start;
  } cases[] = {
      {"readmeSP.txt", platform::HandlerStart::NoFile},
      {scratch.Path() + "\\missing\\readmeSP.txt", platform::HandlerStart::NoFile},
      {"notes.moravine-unknown-type", platform::HandlerStart::NoHandler},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::OpenWithDefaultHandler(c.target), c.start) << c.target;
  }
}

}  // namespace
