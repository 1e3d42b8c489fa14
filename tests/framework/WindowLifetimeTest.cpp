// The end of windows: a window object whose window is closed by a nested
// message loop outlives the handler that ran the loop.
#include "framework/CWinApp.h"
#include "framework/CWnd.h"
#include "framework/MessageBox.h"
#include "framework/WindowRecord.h"
#include "support/Headless.h"

#include <gtest/gtest.h>

namespace {

using testsupport::HeadlessSession;

constexpr UINT WM_APP_BOX = WM_USER + 1;

// A window that, like the launcher's, deletes itself after its last
// message, and whose handler opens a message box.
class SelfDeletingWindow : public CWnd {
 public:
  explicit SelfDeletingWindow(bool& deleted) : deleted_(deleted) {}
  ~SelfDeletingWindow() override { deleted_ = true; }

  // What the handler saw once its message box had returned.
  static inline bool aliveAfterBox = false;
  static inline HWND windowAfterBox = nullptr;

 protected:
  const MessageMap* GetMessageMap() const override {
    static const MessageMap map{CWnd::GetThisMessageMap(), {msgmap::Message(WM_APP_BOX, &SelfDeletingWindow::OnBox)}};
    return &map;
  }
  void PostNcDestroy() override { delete this; }
  LRESULT OnBox(WPARAM, LPARAM) {
    MessageBox(m_hWnd, "text", "caption", MB_OK);
    // The window may be gone by now; the object, its fields included, is not.
    aliveAfterBox = !deleted_;
    windowAfterBox = m_hWnd;
    return 0;
  }

 private:
  bool& deleted_;
};

class WindowLifetimeTest : public ::testing::Test {
 protected:
  HeadlessSession session;
};

}  // namespace

TEST_F(WindowLifetimeTest, AWindowClosedWhileAHandlerShowsAMessageBoxIsDeletedOnlyAfterTheHandler) {
  bool deleted = false;
  auto* window = new SelfDeletingWindow(deleted);
  ASSERT_TRUE(window->CreateEx(0, nullptr, "w", WS_POPUP, 0, 0, 200, 100, nullptr, 0));
  const HWND hwnd = window->m_hWnd;
  const platform::NativeWindow native = hwnd->native;
  CWinApp app("test");
  app.m_pMainWnd = window;
  // The player closes the window while the box is up; the box stays until it has gone.
  session.display.keepMessageBoxOpen = [&](const platform::HeadlessDisplay::ShownMessageBox&) {
    if (!session.display.IsDestroyed(native)) {
      session.display.RequestClose(native);
      return true;
    }
    return false;
  };
  window->PostMessage(WM_APP_BOX);

  SelfDeletingWindow::aliveAfterBox = false;
  SelfDeletingWindow::windowAfterBox = hwnd;
  EXPECT_EQ(app.Run(), 0) << "the main window's end ends the loop";
  EXPECT_TRUE(SelfDeletingWindow::aliveAfterBox) << "the object was deleted under its handler";
  EXPECT_EQ(SelfDeletingWindow::windowAfterBox, nullptr) << "the handler could not tell its window was gone";
  EXPECT_TRUE(deleted);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(app.m_pMainWnd, nullptr);
  EXPECT_EQ(session.display.messageBoxes.size(), 1u);
}
