// Windows of the launcher's window class made through the framework: their
// place and size, WM_CREATE inside CreateEx, and objects that outlive the
// handlers during which their windows end.
#include "MessageBoxWatch.h"
#include "base/ResourceIds.h"
#include "framework/CWinApp.h"
#include "framework/CWnd.h"
#include "framework/Resources.h"
#include "framework/WindowClass.h"

#include <gtest/gtest.h>

namespace {

constexpr UINT WM_APP_END = WM_USER + 1;

// The class the launcher's application object registers for its window.
const char* LauncherWindowClass() {
  return AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, LoadCursor(nullptr, IDC_ARROW), nullptr,
                             LoadIcon(AfxGetInstanceHandle(), MAKEINTRESOURCE(IDI_LAUNCHER)));
}

// Notes what its WM_CREATE saw, and refuses creation when told.
class CreationWindow : public CWnd {
 public:
  bool refuse = false;
  HWND windowInCreate = nullptr;
  CREATESTRUCT seen{};
  int postNcDestroys = 0;

 protected:
  const MessageMap* GetMessageMap() const override {
    static const MessageMap map{CWnd::GetThisMessageMap(), {msgmap::Create(&CreationWindow::OnCreate)}};
    return &map;
  }
  int OnCreate(CREATESTRUCT* create) {
    windowInCreate = m_hWnd;
    seen = *create;
    return refuse ? -1 : 0;
  }
  void PostNcDestroy() override { ++postNcDestroys; }
};

RECT RectOf(int x, int y, int cx, int cy) { return RECT{x, y, x + cx, y + cy}; }

::testing::AssertionResult IsPlaced(HWND hwnd, const RECT& expected) {
  RECT window{};
  RECT client{};
  GetWindowRect(hwnd, &window);
  GetClientRect(hwnd, &client);
  if (!EqualRect(&window, &expected)) {
    return ::testing::AssertionFailure() << "window at " << window.left << "," << window.top << " to " << window.right
                                         << "," << window.bottom;
  }
  // A popup has no frame: its client area is the whole window.
  if (client.right != expected.right - expected.left || client.bottom != expected.bottom - expected.top) {
    return ::testing::AssertionFailure() << "client area " << client.right << " by " << client.bottom;
  }
  return ::testing::AssertionSuccess();
}

}  // namespace

TEST(FrameworkWindow, IsMadeAndMovedToThePlaceAndSizeAskedFor) {
  const struct {
    RECT created;
    RECT moved;
    DWORD visible;
  } cases[] = {
      {RectOf(0, 0, 300, 200), RectOf(100, 60, 640, 480), 0},  // as the launcher makes, then places its window
      {RectOf(37, 21, 640, 480), RectOf(-5, -7, 89, 30), WS_VISIBLE},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.created.left);
    CWnd window;
    ASSERT_TRUE(window.CreateEx(0, LauncherWindowClass(), "w", WS_POPUP | c.visible, c.created.left, c.created.top,
                                c.created.right - c.created.left, c.created.bottom - c.created.top, nullptr, 0));
    EXPECT_EQ(IsWindowVisible(window.m_hWnd), c.visible != 0);
    EXPECT_TRUE(IsPlaced(window.m_hWnd, c.created));
    ASSERT_TRUE(window.SetWindowPos(nullptr, c.moved.left, c.moved.top, c.moved.right - c.moved.left,
                                    c.moved.bottom - c.moved.top, SWP_NOZORDER | SWP_NOACTIVATE));
    EXPECT_TRUE(IsPlaced(window.m_hWnd, c.moved));
  }
}

TEST(FrameworkWindow, TheLauncherClassCarriesTheIconAndKeepsADeviceContextInTheGuiFont) {
  CWnd window;
  ASSERT_TRUE(window.CreateEx(0, LauncherWindowClass(), "w", WS_POPUP, 0, 0, 100, 50, nullptr, 0));
  EXPECT_NE(GetClassLongPtrA(window.m_hWnd, GCLP_HICON), 0) << "the icon resource is missing";
  const auto style = static_cast<UINT>(GetClassLongPtrA(window.m_hWnd, GCL_STYLE));
  EXPECT_EQ(style & (CS_OWNDC | CS_HREDRAW | CS_VREDRAW), CS_OWNDC | CS_HREDRAW | CS_VREDRAW);
  // The window's text is drawn in the default GUI font, at every paint.
  HDC dc = window.GetDC();
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), GetStockObject(DEFAULT_GUI_FONT));
  window.ReleaseDC(dc);
}

TEST(FrameworkWindow, WmCreateReachesTheObjectInsideCreateExAndARefusalMakesNoWindow) {
  CreationWindow made;
  int param = 0;
  ASSERT_TRUE(made.CreateEx(0, LauncherWindowClass(), "w", WS_POPUP, 3, 4, 120, 80, nullptr, 0, &param));
  EXPECT_NE(made.windowInCreate, nullptr) << "WM_CREATE did not reach the object inside CreateEx";
  EXPECT_EQ(made.windowInCreate, made.m_hWnd);
  EXPECT_EQ(made.seen.lpCreateParams, &param);
  EXPECT_EQ(made.seen.cx, 120);
  EXPECT_EQ(made.seen.cy, 80);

  CreationWindow refused;
  refused.refuse = true;
  EXPECT_FALSE(refused.CreateEx(0, LauncherWindowClass(), "w", WS_POPUP, 0, 0, 120, 80, nullptr, 0));
  EXPECT_NE(refused.windowInCreate, nullptr);
  EXPECT_EQ(refused.m_hWnd, nullptr);
  EXPECT_FALSE(IsWindow(refused.windowInCreate));
  EXPECT_EQ(refused.postNcDestroys, 0) << "a refused window's end reached its object";
}

namespace {

// How a handler's window ends while the handler runs.
enum class Ending { kByTheHandler, kInTheHandlersMessageBox };

// A window that, like the launcher's, deletes itself after its last message.
class SelfDeletingWindow : public CWnd {
 public:
  SelfDeletingWindow(bool& deleted, Ending ending) : deleted_(deleted), ending_(ending) {}
  ~SelfDeletingWindow() override { deleted_ = true; }

  // What the handler saw once its window had ended.
  static inline bool aliveAfterEnd = false;
  static inline HWND windowAfterEnd = nullptr;

 protected:
  const MessageMap* GetMessageMap() const override {
    static const MessageMap map{CWnd::GetThisMessageMap(), {msgmap::Message(WM_APP_END, &SelfDeletingWindow::OnEnd)}};
    return &map;
  }
  void PostNcDestroy() override { delete this; }
  LRESULT OnEnd(WPARAM, LPARAM) {
    if (ending_ == Ending::kByTheHandler) {
      DestroyWindow();
    } else {
      MessageBoxA(m_hWnd, "text", "caption", MB_OK);
    }
    // The window is gone by now; the object, its fields included, is not.
    aliveAfterEnd = !deleted_;
    windowAfterEnd = m_hWnd;
    return 0;
  }

 private:
  bool& deleted_;
  Ending ending_;
};

}  // namespace

TEST(FrameworkWindow, AnObjectWhoseWindowEndsDuringAHandlerIsDeletedOnlyAfterTheHandler) {
  for (const Ending ending : {Ending::kByTheHandler, Ending::kInTheHandlersMessageBox}) {
    SCOPED_TRACE(static_cast<int>(ending));
    bool deleted = false;
    auto* window = new SelfDeletingWindow(deleted, ending);
    ASSERT_TRUE(window->CreateEx(0, LauncherWindowClass(), "w", WS_POPUP, 0, 0, 200, 100, nullptr, 0));
    const HWND hwnd = window->m_hWnd;
    CWinApp app("test");
    app.m_pMainWnd = window;
    // The player closes the window while the box is up; the box stays until it has gone.
    MessageBoxWatch boxes([hwnd] {
      if (!IsWindow(hwnd)) return true;
      PostMessageA(hwnd, WM_CLOSE, 0, 0);
      return false;
    });
    window->PostMessage(WM_APP_END);

    SelfDeletingWindow::aliveAfterEnd = false;
    SelfDeletingWindow::windowAfterEnd = hwnd;
    EXPECT_EQ(app.Run(), 0) << "the main window's end ends the loop";
    EXPECT_TRUE(SelfDeletingWindow::aliveAfterEnd) << "the object was deleted under its handler";
    EXPECT_EQ(SelfDeletingWindow::windowAfterEnd, nullptr) << "the handler could not tell its window was gone";
    EXPECT_TRUE(deleted);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_EQ(boxes.Boxes().size(), ending == Ending::kInTheHandlersMessageBox ? 1u : 0u);
  }
}
