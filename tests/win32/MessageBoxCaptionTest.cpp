// The framework's message boxes are captioned with the program file's name
// without its extension when the application object is given no name.
#include "MessageBoxWatch.h"
#include "MessagePump.h"
#include "framework/CWinApp.h"
#include "framework/CWnd.h"
#include "framework/Internet.h"

#include <gtest/gtest.h>

namespace {

constexpr UINT WM_THROW = WM_USER + 1;
// This test program's file, windows_framework.exe.
constexpr char kProgramName[] = "windows_framework";

class ThrowingWindow : public CWnd {
 public:
  bool thrown = false;

 protected:
  const MessageMap* GetMessageMap() const override {
    static const MessageMap map{CWnd::GetThisMessageMap(), {msgmap::Message(WM_THROW, &ThrowingWindow::OnThrow)}};
    return &map;
  }
  LRESULT OnThrow(WPARAM, LPARAM) {
    thrown = true;
    throw CInternetException("Failed to connect to patch.example");
  }
};

}  // namespace

TEST(MessageBoxCaption, IsTheProgramFilesNameWithoutItsExtension) {
  CWinApp app;
  ThrowingWindow window;
  ASSERT_TRUE(window.CreateEx(0, nullptr, "w", WS_POPUP, 0, 0, 100, 100, nullptr, 0));
  MessageBoxWatch boxes;
  window.PostMessage(WM_THROW);
  ASSERT_TRUE(PumpUntil([&] { return window.thrown && !boxes.Boxes().empty(); }));
  EXPECT_EQ(boxes.Boxes().front().caption, kProgramName);
  EXPECT_EQ(boxes.Boxes().front().text, "Failed to connect to patch.example");
}
