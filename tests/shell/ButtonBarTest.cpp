// The picture buttons' hit test and state machine, and what they post.
#include "shell/ButtonBar.h"
#include "support/Headless.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Posted = std::pair<int, int>;  // (state, button id)

// The launcher's row: ids 1..7 at x 5, 95, ... 545, y 446, 89 by 30. Their
// window is null, so their notifications queue as thread messages.
class ButtonBarTest : public ::testing::Test {
 protected:
  ButtonBarTest() {
    for (int id = 1; id <= 7; ++id) {
      bar.Add(new SkinButton(nullptr, 5 + 90 * (id - 1), 446, 89, 30, id, 0, 0, 0, 0));
    }
  }

  std::vector<Posted> TakePosted() {
    std::vector<Posted> posted;
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      EXPECT_EQ(msg.message, WM_SKINBUTTON);
      posted.emplace_back(static_cast<int>(msg.wParam), reinterpret_cast<SkinButton*>(msg.lParam)->m_nId);
    }
    return posted;
  }

  int State(int id) const { return bar.GetAt(id - 1)->m_nState; }

  testsupport::HeadlessSession session;
  ButtonBar bar;
};

TEST_F(ButtonBarTest, EdgesAreInclusiveAndTheGapsBelongToNoButton) {
  const struct {
    int x, y, id;  // id 0: no button
  } presses[] = {{93, 475, 1}, {5, 446, 1}, {94, 460, 0},  {5, 476, 0},
                 {4, 460, 0},  {5, 445, 0}, {633, 475, 7}, {634, 475, 0}};
  for (const auto& p : presses) {
    bar.OnLButtonDown(p.x, p.y);
    EXPECT_EQ(TakePosted(), (p.id == 0 ? std::vector<Posted>{} : std::vector<Posted>{{SBS_PRESSED, p.id}}))
        << p.x << "," << p.y;
    bar.OnMouseMove(-1, -1);
    TakePosted();
  }
}

TEST_F(ButtonBarTest, EveryMovePostsEveryEnabledButtonsStateAgainAndAPressStaysUntilTheNextMove) {
  bar.EnableButton(2, FALSE, FALSE);
  for (int move = 0; move < 2; ++move) {
    bar.OnMouseMove(300, 450);
    EXPECT_EQ(TakePosted(), (std::vector<Posted>{{0, 1}, {0, 3}, {1, 4}, {0, 5}, {0, 6}, {0, 7}}));
  }
  bar.OnLButtonDown(300, 450);
  EXPECT_EQ(TakePosted(), (std::vector<Posted>{{SBS_PRESSED, 4}}));
  bar.OnLButtonDown(300, 450);
  EXPECT_EQ(TakePosted(), (std::vector<Posted>{{SBS_PRESSED, 4}})) << "two quick clicks are two presses";
  EXPECT_EQ(State(4), SBS_PRESSED);
  bar.OnMouseMove(301, 450);
  TakePosted();
  EXPECT_EQ(State(4), SBS_HOVER);

  bar.OnLButtonDown(100, 450);
  EXPECT_TRUE(TakePosted().empty()) << "a disabled button ignores presses";
  EXPECT_EQ(State(2), SBS_DISABLED);
}

TEST_F(ButtonBarTest, EnableButtonPostsOnlyRealChangesAndAlwaysComesBackNormal) {
  bar.EnableButton(1, TRUE, TRUE);
  EXPECT_TRUE(TakePosted().empty());

  bar.OnLButtonDown(10, 450);
  TakePosted();
  bar.EnableButton(1, FALSE, TRUE);
  EXPECT_EQ(TakePosted(), (std::vector<Posted>{{SBS_DISABLED, 1}}));
  bar.EnableButton(1, FALSE, TRUE);
  EXPECT_TRUE(TakePosted().empty());

  bar.OnMouseMove(10, 450);  // pointer over the disabled button
  TakePosted();
  bar.EnableButton(1, TRUE, TRUE);
  EXPECT_EQ(TakePosted(), (std::vector<Posted>{{SBS_NORMAL, 1}}));
  EXPECT_EQ(State(1), SBS_NORMAL) << "re-enabled under the pointer, it is normal until the next move";

  bar.EnableButton(2, FALSE, FALSE);
  EXPECT_TRUE(TakePosted().empty()) << "no notice without bNotify";
  EXPECT_EQ(State(2), SBS_DISABLED);
}

}  // namespace
