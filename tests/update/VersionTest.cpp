// Version texts and the order of versions.
#include <gtest/gtest.h>

#include <array>

#include "update/UpdateAgent.h"
#include "update/VersionText.h"

namespace {

using Components = std::array<int, VERSION_COMPONENTS>;

Components Parse(const char* text) {
  Components components;
  components.fill(-7);
  ParseVersion(text, components.data());
  return components;
}

}  // namespace

TEST(VersionText, ReadsAtoiNumbersAtEvenOffsets) {
  EXPECT_EQ(Parse("2.0.1.0.3"), (Components{2, 0, 1, 0, 3}));
  // A two-digit component shifts what the later offsets read.
  EXPECT_EQ(Parse("2.0.10.2.3"), (Components{2, 0, 10, 0, 0}));
  EXPECT_EQ(Parse(" 1-2+3x.y"), (Components{1, -2, 3, 0, 0}));
  // Offsets past the end read 0, and nothing behind the terminator is read.
  EXPECT_EQ(Parse(""), (Components{0, 0, 0, 0, 0}));
  const char field[] = {'2', '.', '0', '.', '1', '\0', '7', '.', '7', '\0'};
  EXPECT_EQ(Parse(field), (Components{2, 0, 1, 0, 0}));
}

TEST(VersionText, AnUpdateIsOfferedOnlyForAHeavierVersion) {
  const struct {
    const char* installed;
    const char* latest;
    bool offered;
  } cases[] = {
      {"1.9.0.9.9", "2.0.1.0.0", true},                            // weights 99 and 100
      {"2.0.0.0.1", "3.0.0.0.0", false},                           // weights 1 and 0: the first two do not count
      {"2.0.1.0.4", "2.0.1.0.4", false}, {"", "2.0.0.0.1", true},  // nothing installed reads as zeros
      {"", "9.9.0.0.0", false},
  };
  for (const auto& c : cases) {
    UpdateAgent agent;
    ParseVersion(c.installed, agent.m_pInstalledVersion);
    ParseVersion(c.latest, agent.m_pLatestVersion);
    EXPECT_EQ(agent.IsUpdateAvailable(), c.offered) << c.installed << " -> " << c.latest;
  }
}
