// The environment a started program gets: Wine's diagnostics are silenced for
// programs run through Wine unless the player chose a WINEDEBUG of their own.
#include "platform/process/ProgramEnvironment.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Entries = std::vector<std::string>;

struct Case {
  const char* what;
  Entries environment;
  bool throughWine;
  Entries expected;
};

TEST(ProgramEnvironmentTest, WineDebugIsSilencedOnlyForWineAndOnlyWhenThePlayerLeftItUnset) {
  const Case cases[] = {
      {"Wine, no setting",
       {"HOME=/home/player", "PATH=/usr/bin"},
       true,
       {"HOME=/home/player", "PATH=/usr/bin", "WINEDEBUG=-all"}},
      {"Wine, empty environment", {}, true, {"WINEDEBUG=-all"}},
      {"Wine, the player's channels",
       {"WINEDEBUG=+relay,-heap", "HOME=/h"},
       true,
       {"WINEDEBUG=+relay,-heap", "HOME=/h"}},
      {"Wine, set empty on purpose", {"HOME=/h", "WINEDEBUG="}, true, {"HOME=/h", "WINEDEBUG="}},
      {"Wine, look-alike names are not the setting",
       {"WINEDEBUGGER=1", "XWINEDEBUG=1", "WINEDEBUG", "winedebug=+all"},
       true,
       {"WINEDEBUGGER=1", "XWINEDEBUG=1", "WINEDEBUG", "winedebug=+all", "WINEDEBUG=-all"}},
      {"Wine, the name in a value", {"NOTE=WINEDEBUG=+all"}, true, {"NOTE=WINEDEBUG=+all", "WINEDEBUG=-all"}},
      {"native program, no setting", {"HOME=/h"}, false, {"HOME=/h"}},
      {"native program, the player's setting", {"WINEDEBUG=warn+all"}, false, {"WINEDEBUG=warn+all"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(platform::ProgramEnvironment(c.environment, c.throughWine), c.expected);
  }
}

}  // namespace
