// A framework exception or a failed allocation that a message handler lets
// out is shown to the player, and the window goes on receiving messages.
#include "framework/CWinApp.h"
#include "framework/CWnd.h"
#include "framework/Internet.h"
#include "framework/WindowRecord.h"
#include "support/Headless.h"
#include "support/TickingWindow.h"

#include <gtest/gtest.h>

#include <new>
#include <string>

namespace {

// WM_THROW's wParam chooses what its handler throws.
constexpr UINT WM_THROW = WM_USER + 1;
constexpr UINT WM_COUNT = WM_USER + 2;
enum Thrown : WPARAM { kInternet, kNoText, kBadAlloc };

class ThrowingWindow : public CWnd {
 public:
  int counted = 0;
  bool failCreate = false;
  bool failPaint = false;

 protected:
  const MessageMap* GetMessageMap() const override {
    static const MessageMap map{CWnd::GetThisMessageMap(),
                                {
                                    msgmap::Create(&ThrowingWindow::OnCreate),
                                    msgmap::Paint(&ThrowingWindow::OnPaint),
                                    msgmap::Message(WM_THROW, &ThrowingWindow::OnThrow),
                                    msgmap::Message(WM_COUNT, &ThrowingWindow::OnCount),
                                }};
    return &map;
  }
  int OnCreate(CREATESTRUCT*) {
    if (failCreate) throw CInternetException("no window today");
    return 0;
  }
  void OnPaint() {
    if (failPaint) throw std::bad_alloc();
    PAINTSTRUCT paint;
    BeginPaint(&paint);
    EndPaint(&paint);
  }
  LRESULT OnThrow(WPARAM thrown, LPARAM) {
    if (thrown == kInternet) throw CInternetException("Failed to connect to patch.example");
    if (thrown == kNoText) throw CInternetException("");
    throw std::bad_alloc();
  }
  LRESULT OnCount(WPARAM, LPARAM) { return ++counted; }
};

class HandlerCallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<ThrowingWindow>();
    app.m_pMainWnd = window.get();
  }
  const platform::HeadlessDisplay::ShownMessageBox& LastBox() const { return session.display.messageBoxes.back(); }

  testsupport::HeadlessSession session;
  CWinApp app{"Moravine Test"};
  std::unique_ptr<ThrowingWindow> window;
};

}  // namespace

TEST_F(HandlerCallTest, AnExceptionsTextIsShownWithAStopIconAndTheApplicationsNameThenDispatchGoesOn) {
  ASSERT_TRUE(window->CreateEx(0, nullptr, "w", WS_POPUP, 0, 0, 100, 100, nullptr, 0));
  PostMessage(window->m_hWnd, WM_THROW, kInternet, 0);
  PostMessage(window->m_hWnd, WM_COUNT, 0, 0);
  testsupport::PumpPending();
  EXPECT_EQ(window->counted, 1);
  ASSERT_EQ(session.display.messageBoxes.size(), 1u);
  EXPECT_TRUE(testsupport::IsBox(LastBox(), "Failed to connect to patch.example", "Moravine Test",
                                 window->m_hWnd->native, true));

  for (const WPARAM thrown : {kNoText, kBadAlloc}) {
    EXPECT_EQ(SendMessage(window->m_hWnd, WM_THROW, thrown, 0), 0);
    EXPECT_TRUE(testsupport::IsBox(LastBox(), "內部應用程式錯誤。", "Moravine Test", window->m_hWnd->native, true));
  }
  EXPECT_EQ(SendMessage(window->m_hWnd, WM_COUNT, 0, 0), 2);
}

TEST_F(HandlerCallTest, AFailedCreationMakesNoWindowAndAFailedPaintIsNotRetried) {
  window->failCreate = true;
  EXPECT_FALSE(window->CreateEx(0, nullptr, "w", WS_POPUP, 0, 0, 100, 100, nullptr, 0));
  EXPECT_EQ(window->m_hWnd, nullptr);
  ASSERT_EQ(session.display.messageBoxes.size(), 1u);
  EXPECT_EQ(LastBox().text, "no window today");

  window->failCreate = false;
  window->failPaint = true;
  ASSERT_TRUE(window->CreateEx(0, nullptr, "w", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, 0));
  testsupport::PumpPending();
  EXPECT_EQ(session.display.messageBoxes.size(), 2u) << "one paint failed, and only once";
  EXPECT_EQ(LastBox().text, "內部應用程式錯誤。");
  MSG msg;
  EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE));
}

// A window whose timers' ticks fail as each test says.
class HandlerCallTimer : public ::testing::Test {
 protected:
  void SetUp() override {
    app.m_pMainWnd = &window;
    ASSERT_TRUE(window.CreateEx(0, nullptr, "w", WS_POPUP, 0, 0, 100, 100, nullptr, 0));
  }
  void TearDown() override { window.DestroyWindow(); }

  testsupport::HeadlessSession session;
  CWinApp app{"Moravine Test"};
  TickingWindow window;
};

// A timer whose every tick fails shows its failure once, not a box per tick
// (nor boxes nested in the box's own loop, where the timer goes on ticking).
TEST_F(HandlerCallTimer, ATimerFailingAgainAndAgainIsReportedOnceUntilATickRunsThroughOrTheTextChanges) {
  window.SetTimer(2, 10, nullptr);
  window.SetTimer(3, 10, nullptr);
  window.failure[3] = "";
  int until = 0;  // a box stays open until timer 2 has ticked this often
  session.display.keepMessageBoxOpen = [&](const auto&) { return window.ticks[2] < until; };

  const struct {
    UINT_PTR timer;
    const char* failure;
    std::size_t boxes;  // shown so far, after a few more ticks of the timer
    const char* lastBox;
  } steps[] = {
      {2, "Failed to read", 1, "Failed to read"},
      {2, "Failed to write", 2, "Failed to write"},
      {3, "Failed to write", 3, "Failed to write"},  // each timer on its own
      {2, "", 3, "Failed to write"},
      {2, "Failed to write", 4, "Failed to write"},  // again after a tick that ran through
      {3, "no memory", 5, "內部應用程式錯誤。"},
      {3, "no memory", 5, "內部應用程式錯誤。"},
  };
  for (const auto& step : steps) {
    window.failure[step.timer] = step.failure;
    const int target = window.ticks[step.timer] + 4;
    until = window.ticks[2] + 2;
    ASSERT_TRUE(testsupport::PumpUntil([&] { return window.ticks[step.timer] >= target; }));
    ASSERT_EQ(session.display.messageBoxes.size(), step.boxes) << step.timer << " " << step.failure;
    EXPECT_TRUE(testsupport::IsBox(session.display.messageBoxes.back(), step.lastBox, "Moravine Test",
                                   window.m_hWnd->native, true));
  }
}

// A timer whose handler ends it with its failure, as a failed download does,
// cannot fail every tick: each time it is set again, its failure shows.
TEST_F(HandlerCallTimer, ATimerEndedByItsFailureIsReportedEachTimeItIsSetAgain) {
  window.killOnFailure = true;
  window.failure[3] = "Failed to connect";
  for (std::size_t round = 1; round <= 2; ++round) {
    window.SetTimer(3, 10, nullptr);
    ASSERT_TRUE(testsupport::PumpUntil([&] { return session.display.messageBoxes.size() == round; }));
  }
}
