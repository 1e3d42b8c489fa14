// The end of windows: children go with their parent, and a window object
// whose window is closed by a nested message loop outlives the handler that
// ran the loop.
#include "framework/CWinApp.h"
#include "framework/CWnd.h"
#include "framework/MessageBox.h"
#include "framework/WindowRecord.h"
#include "support/Headless.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testsupport::HeadlessSession;

constexpr UINT WM_APP_BOX = WM_USER + 1;

// A window that logs its end into a shared log under its name.
class NamedWindow : public CWnd {
 public:
  NamedWindow(std::string name, std::vector<std::string>& log) : name_(std::move(name)), log_(log) {}

  BOOL CreateTopLevel() { return CreateEx(0, nullptr, name_.c_str(), WS_POPUP, 0, 0, 200, 100, nullptr, 0); }
  BOOL CreateChildOf(CWnd& parent) {
    return Create(nullptr, name_.c_str(), WS_CHILD | WS_VISIBLE, RECT{0, 0, 50, 50}, &parent, 7);
  }

 protected:
  const MessageMap* GetMessageMap() const override {
    static const MessageMap map{
        CWnd::GetThisMessageMap(),
        {msgmap::Destroy(&NamedWindow::OnDestroy), msgmap::NcDestroy(&NamedWindow::OnNcDestroy)}};
    return &map;
  }
  void OnDestroy() { log_.push_back(name_ + " destroy"); }
  void OnNcDestroy() {
    log_.push_back(name_ + " ncdestroy");
    CWnd::OnNcDestroy();
  }

 private:
  std::string name_;
  std::vector<std::string>& log_;
};

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
  std::vector<std::string> log;
};

}  // namespace

TEST_F(WindowLifetimeTest, ChildrenGoWithTheirParentAndTakeTheirMessagesAndTimersAlong) {
  NamedWindow parent("parent", log), child("child", log), grandchild("grandchild", log), sibling("sibling", log);
  ASSERT_TRUE(parent.CreateTopLevel());
  ASSERT_TRUE(child.CreateChildOf(parent));
  ASSERT_TRUE(grandchild.CreateChildOf(child));
  ASSERT_TRUE(sibling.CreateChildOf(parent));
  const HWND hwnds[] = {parent.m_hWnd, child.m_hWnd, grandchild.m_hWnd, sibling.m_hWnd};
  std::vector<platform::NativeWindow> natives;
  for (HWND h : hwnds) {
    natives.push_back(h->native);
  }
  child.PostMessage(WM_USER + 5);
  grandchild.SetTimer(3, 10, nullptr);

  ASSERT_TRUE(parent.DestroyWindow());

  EXPECT_EQ(log,
            (std::vector<std::string>{"parent destroy", "child destroy", "grandchild destroy", "grandchild ncdestroy",
                                      "child ncdestroy", "sibling destroy", "sibling ncdestroy", "parent ncdestroy"}));
  for (std::size_t i = 0; i < natives.size(); ++i) {
    EXPECT_FALSE(IsWindow(hwnds[i])) << i;
    EXPECT_TRUE(session.display.IsDestroyed(natives[i])) << i;
  }
  EXPECT_EQ(child.m_hWnd, nullptr);
  EXPECT_EQ(grandchild.m_hWnd, nullptr);
  MSG msg;
  EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) << "a message or timer of a child outlived it";
}

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
