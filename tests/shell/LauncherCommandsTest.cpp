// The update command, pressed on the headless display: what the player sees
// for each way it ends short of a download, and which buttons are disabled
// and enabled again. What each button starts, the update's patch included,
// and the notices of missing programs are walked through on a real desktop by
// the every-button test.
#include "platform/network/NetworkState.h"
#include "support/LoopbackServer.h"
#include "support/RunningLauncher.h"
#include "support/ScratchFolder.h"
#include "update/TestPrefix.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using testsupport::PumpPending;
using testsupport::QuitPosted;

constexpr char kUpToDate[] = "您的版本已經是最新的版本，不需要更新。";
constexpr char kNotConnected[] = "尚未連上網路，停止線上更新。";
constexpr char kGoodNewsCaption[] = "貼心小訊息 ^O^";
constexpr char kTroubleCaption[] = "貼心小訊息 =_=a";

class ChosenNetwork final : public platform::NetworkState {
 public:
  bool IsNetworkAvailable() override { return available; }
  bool available = true;
};

// The launcher with version 2.0.1.0.4 installed, the maker's web host on
// 127.0.0.1, a network of the test's choice and a game folder of its own.
class LauncherCommands : public TestPrefix, protected testsupport::RunningLauncher {
 protected:
  void SetUp() override {
    setenv("MORAVINE_WEB_HOST", "127.0.0.1", 1);
    platform::UseNetworkState(&network);
    WriteRegistry(RegistryText("win32", GameKey(PLAIN_PATH, "\"GameVerSP\"=\"2.0.1.0.4\"")));
    Start();
    UntilStatusTimer();
    session.display.keepMessageBoxOpen = [this](const platform::HeadlessDisplay::ShownMessageBox&) {
      statesDuringBoxes.push_back({State(1), State(2)});
      return false;
    };
  }

  void TearDown() override {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    platform::UseNetworkState(nullptr);
    unsetenv("MORAVINE_WEB_HOST");
  }

  void Press(int id) {
    session.display.PressLeftButton(hwnd->native, 5 + (id - 1) * 90 + 40, 460);
    PumpPending();
  }
  bool BothEnabled() const { return State(1) == SBS_NORMAL && State(2) == SBS_NORMAL; }

  ScratchFolder work;
  ChosenNetwork network;
  std::vector<std::pair<int, int>> statesDuringBoxes;  // buttons 1 and 2 while each box was up
};

// Each way the update command ends short of a download: the notice it shows,
// if any, over disabled play and update buttons, which are enabled after it.
TEST_F(LauncherCommands, EveryFailureEndsWithItsOwnNoticeAndBothButtonsEnabled) {
  const struct {
    const char* name;
    bool online;
    const char* version;  // the version reply; no server without one
    const char* site;     // the site reply; not asked for without one
    const char* notice;   // the box shown, if any
    const char* caption;
    bool owned;
  } rows[] = {
      {"offline", false, "MRVVERSION2.0.1.0.4", nullptr, kNotConnected, kTroubleCaption, true},
      {"up to date", true, "MRVVERSION2.0.1.0.4", nullptr, kUpToDate, kGoodNewsCaption, true},
      {"nothing listens", true, nullptr, nullptr, nullptr, nullptr, false},
      {"no version", true, "no version here", nullptr, nullptr, nullptr, false},
      {"no downloads", true, "MRVVERSION2.0.1.0.5", "NO_AVAILABLE_DOWNLOADS", "無下載點", "", false},
      {"no site", true, "MRVVERSION2.0.1.0.5", "no site here", nullptr, nullptr, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    network.available = row.online;
    std::optional<LoopbackServer> server;
    if (row.version != nullptr) {
      server.emplace([&row](const std::string& request) {
        return HttpReply(RequestPath(request).ends_with("version.php") ? row.version : row.site);
      });
    }
    const auto& boxes = session.display.messageBoxes;
    const std::size_t before = boxes.size();
    statesDuringBoxes.clear();
    Press(2);
    if (server) {
      const std::vector<std::string> requests = server->Requests();
      ASSERT_EQ(requests.size(), !row.online ? 0u : row.site != nullptr ? 2u : 1u);
      if (!requests.empty()) {
        EXPECT_EQ(RequestPath(requests[0]), "/latest_version/mrv/2.0.x.x.x/version.php");
        EXPECT_NE(requests[0].find("\r\nCache-Control: no-cache\r\n"), std::string::npos) << "asked past caches";
      }
    }
    ASSERT_EQ(boxes.size(), before + (row.notice != nullptr ? 1 : 0));
    if (row.notice != nullptr) {
      EXPECT_TRUE(testsupport::IsBox(boxes.back(), row.notice, row.caption, row.owned ? hwnd->native : 0));
      EXPECT_EQ(statesDuringBoxes, (std::vector<std::pair<int, int>>{{SBS_DISABLED, SBS_DISABLED}}));
    }
    EXPECT_TRUE(BothEnabled());
    EXPECT_FALSE(QuitPosted());
  }
}

TEST_F(LauncherCommands, ACloseDuringAQueryEndsTheCommandWithTheWindow) {
  const LoopbackServer server(HttpReply("MRVVERSION2.0.1.0.4"));
  // The query dispatches the waiting close while it waits for the reply.
  PostMessage(hwnd, WM_CLOSE, 0, 0);
  SendMessage(hwnd, WM_SKINBUTTON, SBS_PRESSED, reinterpret_cast<LPARAM>(window->m_buttons.GetAt(1)));
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(app.m_pMainWnd, nullptr);
  EXPECT_TRUE(QuitPosted());
  EXPECT_TRUE(session.display.messageBoxes.empty());
}

}  // namespace
