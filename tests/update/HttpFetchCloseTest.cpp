// The launcher's window closed by the player while a query waits on the server.
#include "FetchSupport.h"
#include "support/LoopbackServer.h"

#include "framework/CWinApp.h"
#include "framework/CWnd.h"
#include "framework/WindowRecord.h"
#include "support/Headless.h"

namespace {

constexpr UINT WM_APP_QUERY = WM_USER + 1;

// Deletes itself after its last message, as the launcher's window does; its
// handler runs a query.
class QueryWindow : public CWnd {
 public:
  static inline bool deleted = false;
  static inline bool aliveAfterQuery = false;
  static inline bool queryFailed = false;

  ~QueryWindow() override { deleted = true; }

 protected:
  const MessageMap* GetMessageMap() const override {
    static const MessageMap map{CWnd::GetThisMessageMap(), {msgmap::Message(WM_APP_QUERY, &QueryWindow::OnQuery)}};
    return &map;
  }
  void PostNcDestroy() override { delete this; }
  LRESULT OnQuery(WPARAM, LPARAM) {
    const MemoryReply reply = FetchToMemory("http://127.0.0.1/version.php");
    queryFailed = !reply.blockSet;
    aliveAfterQuery = !deleted && m_hWnd == nullptr;
    return 0;
  }
};

using HttpFetchCloseTest = FetchTest;

}  // namespace

TEST_F(HttpFetchCloseTest, ClosingTheWindowDuringAQueryEndsItAndTheProgramCleanly) {
  testsupport::HeadlessSession session;
  LoopbackServer server("127.0.0.1", [](LoopbackServer& s) { s.WaitForRelease(); });
  auto* window = new QueryWindow;
  ASSERT_TRUE(window->CreateEx(0, nullptr, "w", WS_POPUP, 0, 0, 200, 100, nullptr, 0));
  CWinApp app("test");
  app.m_pMainWnd = window;
  static platform::NativeWindow native = 0;
  static platform::HeadlessDisplay* display = nullptr;
  native = window->m_hWnd->native;
  display = &session.display;
  // The player's close request comes in while the query waits.
  SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    display->RequestClose(native);
  });
  window->PostMessage(WM_APP_QUERY);

  EXPECT_EQ(app.Run(), 0);
  EXPECT_TRUE(QueryWindow::queryFailed) << "the quit taken by the query's pump ends it";
  EXPECT_TRUE(QueryWindow::aliveAfterQuery) << "the object went before its handler returned";
  EXPECT_TRUE(QueryWindow::deleted);
  EXPECT_TRUE(display->IsDestroyed(native));
}
