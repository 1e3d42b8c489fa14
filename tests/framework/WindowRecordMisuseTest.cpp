// A window's record and its device contexts stop the program, in builds with
// asserts, when they are used after the window ended.
#include "framework/CWnd.h"
#include "framework/DrawText.h"
#include "framework/Gdi.h"
#include "framework/WindowRecord.h"
#include "support/Headless.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct Misuse {
  const char* name;
  // Does something with the ended window, or with a context it handed out
  // while it lived.
  std::function<void(HWND ended, HDC endedDc)> use;
  const char* message;
};

const Misuse kMisuses[] = {
    {"its procedure called", [](HWND ended, HDC) { CallWindowProcedure(ended, WM_USER, 0, 0); },
     "called only while the window lives"},
    {"its record removed again", [](HWND ended, HDC) { RemoveWindowRecord(ended); }, "a window ends once"},
    {"text drawn on its context",
     [](HWND, HDC endedDc) {
       RECT rect{0, 0, 50, 15};
       DrawTextA(endedDc, "text", -1, &rect, DT_LEFT);
     },
     "drawn on only while the window lives"},
    {"its context drawn on by BitBlt",
     [](HWND, HDC endedDc) { BitBlt(endedDc, 0, 0, 10, 10, CreateCompatibleDC(nullptr), 0, 0, SRCCOPY); },
     "drawn on only while the window lives"},
    {"its context copied from by BitBlt",
     [](HWND, HDC endedDc) { BitBlt(CreateCompatibleDC(nullptr), 0, 0, 1, 1, endedDc, 0, 0, SRCCOPY); },
     "read only while the window lives"},
};

}  // namespace

TEST(WindowRecordMisuse, StopsTheProgram) {
#ifdef NDEBUG
  GTEST_SKIP() << "asserts are compiled out of this build";
#endif
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  testsupport::HeadlessSession session;
  for (const Misuse& misuse : kMisuses) {
    SCOPED_TRACE(misuse.name);
    CWnd window;
    ASSERT_TRUE(window.CreateEx(0, nullptr, "ended", WS_POPUP, 0, 0, 200, 100, nullptr, 0));
    const HWND ended = window.m_hWnd;
    const HDC endedDc = window.GetDC();
    ASSERT_NE(endedDc, nullptr);
    ASSERT_TRUE(window.DestroyWindow());
    EXPECT_DEATH(misuse.use(ended, endedDc), misuse.message);
    EXPECT_EQ(ReleaseDC(ended, endedDc), 1) << "a context outlives its window until released";
  }
}
