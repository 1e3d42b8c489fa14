// The GTK display on a real X server (Xvfb): input lands in client pixels,
// and a press dragged away keeps its face while moves outside the window's
// own pixels are dropped. Run at scale 1 and, with GDK_SCALE=2, at 2.
#include "framework/CWnd.h"
#include "framework/DisplayBinding.h"
#include "framework/Resources.h"
#include "framework/WindowRecord.h"
#include "platform/gtk/GtkDisplay.h"
#include "shell/ButtonBar.h"
#include "shell/DrawSkinButton.h"

#include "ScreenPixels.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kLeft = 100;
constexpr int kTop = 80;
constexpr int kWidth = 320;
constexpr int kHeight = 120;
constexpr RECT kChild{200, 0, 320, 120};  // a child window over the right part

int Scale() {
  const char* scale = std::getenv("GDK_SCALE");
  return scale != nullptr && std::atoi(scale) > 1 ? std::atoi(scale) : 1;
}

// Physical screen coordinate of the middle of client pixel c, for xdotool.
int OnScreen(int windowEdge, int c) { return Scale() * (windowEdge + c) + Scale() / 2; }

void Xdo(const std::string& args) { ASSERT_EQ(std::system(("xdotool " + args).c_str()), 0) << args; }
void MovePointer(int x, int y) {
  Xdo("mousemove " + std::to_string(OnScreen(kLeft, x)) + " " + std::to_string(OnScreen(kTop, y)));
}

// Dispatches messages one at a time until done holds, looking before each;
// when none waits, waits as a fetch does, on a descriptor (one that never
// becomes ready) and the display together.
bool PumpUntil(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  int never[2];
  if (pipe(never) != 0) {
    return false;
  }
  bool reached = done();
  while (!reached && std::chrono::steady_clock::now() < deadline) {
    MSG msg;
    if (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      DispatchMessage(&msg);
    } else {
      platform::FdWatch watch{never[0], true, false};
      MsgWaitForDescriptor(watch, 50);
    }
    reached = done();
  }
  close(never[0]);
  close(never[1]);
  return reached;
}

// A window with one picture button at (10, 10) and a child window over its right part.
class TestWindow : public CWnd {
 public:
  std::vector<POINT> moves;
  bool painted = false;
  ButtonBar bar;
  CWnd child;

  BOOL Open() {
    if (!CreateEx(0, nullptr, "gtk-display-test", WS_POPUP, 0, 0, kWidth, kHeight, nullptr, 0)) {
      return FALSE;
    }
    SetWindowPos(nullptr, kLeft, kTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    bar.Add(new SkinButton(m_hWnd, 10, 10, 89, 30, 1, 52, 53, 53, 54));
    child.Create(nullptr, "", WS_CHILD | WS_VISIBLE, kChild, this, 1);
    ShowWindow(SW_SHOW);
    return TRUE;
  }
  int ButtonState() const { return bar.GetAt(0)->m_nState; }

 protected:
  const MessageMap* GetMessageMap() const override {
    static const MessageMap map{CWnd::GetThisMessageMap(),
                                {
                                    msgmap::Paint(&TestWindow::OnPaint),
                                    msgmap::MouseMove(&TestWindow::OnMouseMove),
                                    msgmap::LButtonDown(&TestWindow::OnLButtonDown),
                                    msgmap::Message(WM_SKINBUTTON, &TestWindow::OnSkinButton),
                                }};
    return &map;
  }
  void OnPaint() {
    painted = true;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(&ps);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP background = LoadBitmap(AfxGetInstanceHandle(), MAKEINTRESOURCE(51));
    HBITMAP old = SelectObject(memory, background);
    BitBlt(dc, 0, 0, kWidth, kHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(background);
    DeleteDC(memory);
    EndPaint(&ps);
    HDC face = GetDC();
    DrawSkinButton(face, AfxGetInstanceHandle(), bar.GetAt(0));
    ReleaseDC(face);
  }
  void OnMouseMove(UINT, POINT p) {
    moves.push_back(p);
    bar.OnMouseMove(p.x, p.y);
  }
  void OnLButtonDown(UINT, POINT p) { bar.OnLButtonDown(p.x, p.y); }
  LRESULT OnSkinButton(WPARAM, LPARAM button) {
    HDC face = GetDC();
    DrawSkinButton(face, AfxGetInstanceHandle(), reinterpret_cast<const SkinButton*>(button));
    ReleaseDC(face);
    return 0;
  }
};

class GtkDisplayTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    display = new platform::GtkDisplay;
    UseDisplay(display);
  }
  static void TearDownTestSuite() {
    UseDisplay(nullptr);
    delete display;
  }
  void SetUp() override {
    ASSERT_EQ(display->FailureReason(), "");
    MovePointer(-60, -60);  // off the window: no move reaches it by chance
    window = new TestWindow;
    ASSERT_TRUE(window->Open());
    ASSERT_TRUE(PumpUntil([&] {
      return window->painted && ShowsBackingStore(RECT{0, 0, kChild.left, kHeight});
    })) << "the window never showed what it painted";
  }
  void TearDown() override {
    Xdo("mouseup 1");
    window->DestroyWindow();
    delete window;
  }

  // Whether the screen shows the client rectangle r as the backing store
  // holds it, each pixel enlarged by the display's scale.
  bool ShowsBackingStore(const RECT& r) const {
    const platform::Surface* backing = GetBackingStore(window->m_hWnd);
    const int s = Scale();
    const int width = s * r.Width();
    const std::vector<std::uint32_t> shown =
        ReadScreen(s * (kLeft + r.left), s * (kTop + r.top), width, s * r.Height());
    if (shown.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(s * r.Height())) {
      return false;
    }
    for (std::size_t i = 0; i < shown.size(); ++i) {
      const int x = static_cast<int>(i) % width;
      const int y = static_cast<int>(i) / width;
      if (shown[i] != backing->Pixel(r.left + x / s, r.top + y / s)) {
        return false;
      }
    }
    return true;
  }

  static platform::GtkDisplay* display;
  TestWindow* window = nullptr;
};

platform::GtkDisplay* GtkDisplayTest::display = nullptr;

}  // namespace

TEST_F(GtkDisplayTest, APressDraggedOutOfTheWindowOrOverAChildKeepsItsFace) {
  MovePointer(20, 20);
  ASSERT_TRUE(PumpUntil([&] { return window->ButtonState() == SBS_HOVER; }));
  Xdo("mousedown 1");
  ASSERT_TRUE(PumpUntil([&] { return window->ButtonState() == SBS_PRESSED; }));
  const std::size_t movesBefore = window->moves.size();

  // Held down, the pointer goes below the window, over the child, above the
  // window, then comes back over the window's own pixels beside the button.
  MovePointer(20, kHeight + 40);
  MovePointer(250, 60);
  MovePointer(20, -30);
  MovePointer(150, 20);
  const POINT back{150, 20};
  // Stop with the move back waiting, not yet dispatched: every earlier event has come in.
  MSG next{};
  ASSERT_TRUE(PumpUntil([&] {
    return PeekMessage(&next, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_NOREMOVE) &&
           next.lParam == MAKELPARAM(back.x, back.y);
  }));
  EXPECT_EQ(window->moves.size(), movesBefore) << "a move outside the window's own pixels reached it";
  EXPECT_EQ(window->ButtonState(), SBS_PRESSED);
  EXPECT_TRUE(ShowsBackingStore(RECT{10, 10, 99, 40}));
  ASSERT_TRUE(PumpUntil([&] { return window->ButtonState() == SBS_NORMAL; })) << "the move back never arrived";
  EXPECT_EQ(window->moves.back(), back);
}

// A box that GTK destroys with its owner ends as if OK was pressed, and the
// display lets it go without touching a widget that is gone (GTK would
// complain, and complaints are fatal here). Boxes closed by the desktop are
// the end-to-end tests' (every-button.sh).
TEST_F(GtkDisplayTest, AMessageBoxGoneWithItsOwnerEndsAsOk) {
  const GLogLevelFlags fatal =
      g_log_set_always_fatal(static_cast<GLogLevelFlags>(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING));
  platform::MessageBoxRequest request;
  request.owner = window->m_hWnd->native;
  request.text = "什麼也沒有";
  request.caption = "gone with its owner";
  const platform::MessageBoxId box = display->OpenMessageBox(request);
  window->DestroyWindow();
  EXPECT_TRUE(PumpUntil([&] { return !display->IsMessageBoxOpen(box); }));
  display->CloseMessageBox(box);
  g_log_set_always_fatal(fatal);
}
