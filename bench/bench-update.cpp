// bench-update: times the update code of the launcher on the headless
// display with the framework's real timers and message queue.
//
//   bench-update query COUNT URL
//     Runs the version query (UpdateAgent::QueryLatestVersion) COUNT times
//     and prints each one's milliseconds, one a line.
//   bench-update ticks SECONDS PATCH-URL
//     Runs a launcher window and records the ticks of its 100-ms status
//     timer: SECONDS while it waits for messages (the reference), SECONDS
//     while the version query waits on a server of its own on port 80 of the
//     web host (MORAVINE_WEB_HOST, a dotted address) that takes the
//     connection and never answers, and SECONDS of a patch download from
//     PATCH-URL; the ticks of the 10-ms download timer likewise. Prints
//     "idle GAP GAP10", "query GAP GAP10" and "download GAP GAP10 BYTES/S":
//     the longest gap between two ticks of the status and of the download
//     timer in milliseconds, and the download's bytes per second. Run it in a private network namespace in a
//     scratch folder: the download writes MRVPatch.exe there.
#include "framework/BrowserBinding.h"
#include "framework/CWinApp.h"
#include "framework/DisplayBinding.h"
#include "framework/MessageQueue.h"
#include "framework/Window.h"
#include "platform/headless/HeadlessBrowser.h"
#include "platform/headless/HeadlessDisplay.h"
#include "shell/LauncherWindow.h"
#include "update/DownloadBuffer.h"
#include "update/HttpFetch.h"
#include "update/StartSockets.h"
#include "update/UpdateAgent.h"
#include "update/WebHost.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The launcher's window, with the ticks of its status and download timers
// recorded: the longest gap between two ticks of each since the last Restart.
class TickWindow : public LauncherWindow {
 public:
  using LauncherWindow::DownloadPatch;

  void Restart() {
    status_ = {};
    download_ = {};
  }
  bool StatusTimerRuns() const { return m_nTimer == IDT_STATUS; }
  double LongestStatusGap() const { return status_.longest; }
  double LongestDownloadTimerGap() const { return download_.longest; }

  std::function<void()> onStatusTick;

 protected:
  const MessageMap* GetMessageMap() const override {
    static const MessageMap map{LauncherWindow::GetMessageMap(), {msgmap::Timer(&TickWindow::OnTimer)}};
    return &map;
  }
  void OnTimer(UINT_PTR id) {
    if (id == IDT_STATUS) {
      status_.Tick();
      if (onStatusTick) onStatusTick();
    } else if (id == IDT_DOWNLOAD) {
      download_.Tick();
    }
    LauncherWindow::OnTimer(id);
  }

 private:
  struct Gaps {
    std::optional<Clock::time_point> last;
    double longest = 0;
    void Tick() {
      const Clock::time_point now = Clock::now();
      if (last) longest = std::max(longest, std::chrono::duration<double, std::milli>(now - *last).count());
      last = now;
    }
  };
  Gaps status_;
  Gaps download_;
};

// Dispatches messages, waiting as the launcher's loop does, for `seconds`.
void PumpFor(double seconds) {
  const Clock::time_point start = Clock::now();
  while (MillisecondsSince(start) < seconds * 1000) PumpOneMessage();
}

// A server on port 80 of `host` whose kernel takes connections that nobody reads or answers.
class SilentServer {
 public:
  explicit SilentServer(const std::string& host) : socket_(::socket(AF_INET, SOCK_STREAM, 0)) {
    const int on = 1;
    setsockopt(socket_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(80);
    listening_ = socket_ >= 0 && inet_pton(AF_INET, host.c_str(), &address.sin_addr) == 1 &&
                 bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && listen(socket_, 16) == 0;
  }
  ~SilentServer() {
    if (socket_ >= 0) close(socket_);
  }
  SilentServer(const SilentServer&) = delete;
  SilentServer& operator=(const SilentServer&) = delete;
  bool Listening() const { return listening_; }

 private:
  int socket_;
  bool listening_ = false;
};

int Query(int count, const char* url) {
  for (int i = 0; i < count; ++i) {
    UpdateAgent agent;
    const Clock::time_point start = Clock::now();
    const bool answered = agent.QueryLatestVersion(url);
    const double ms = MillisecondsSince(start);
    if (!answered) {
      std::fprintf(stderr, "bench-update: the version query to %s failed\n", url);
      return 1;
    }
    std::printf("%.2f\n", ms);
  }
  return 0;
}

int Ticks(double seconds, const char* patchUrl) {
  CWinApp app;
  auto* window = new TickWindow;
  if (!window->CreateEx(0, nullptr, "Moravine", WS_POPUP, 0, 0, 640, 480, nullptr, 0)) {
    std::fprintf(stderr, "bench-update: no launcher window\n");
    return 1;
  }
  app.m_pMainWnd = window;
  const HWND hwnd = window->m_hWnd;
  while (!window->StatusTimerRuns()) PumpOneMessage();

  PumpFor(0.5);
  window->Restart();
  PumpFor(seconds);
  std::printf("idle %.1f %.1f\n", window->LongestStatusGap(), window->LongestDownloadTimerGap());

  {
    const SilentServer server(WebHostName());
    if (!server.Listening() || !StartSockets()) {
      std::fprintf(stderr, "bench-update: cannot serve port 80 of %s or start the sockets\n", WebHostName().c_str());
      DestroyWindow(hwnd);
      return 1;
    }
    int stop = 0;
    const Clock::time_point start = Clock::now();
    window->onStatusTick = [&] { stop = MillisecondsSince(start) >= seconds * 1000; };
    window->Restart();
    char* reply = nullptr;
    HttpFetch(VersionQueryUrl().c_str(), &reply, 1, 1, &stop, nullptr);
    CleanupSockets();
    window->onStatusTick = nullptr;
    if (reply != nullptr) DownloadBuffer::Release(reply);
    std::printf("query %.1f %.1f\n", window->LongestStatusGap(), window->LongestDownloadTimerGap());
  }

  window->Restart();
  const Clock::time_point start = Clock::now();
  window->DownloadPatch(patchUrl);
  PumpFor(seconds);
  const double elapsed = MillisecondsSince(start) / 1000;
  std::printf("download %.1f %.1f %.0f\n", window->LongestStatusGap(), window->LongestDownloadTimerGap(),
              window->m_dwPatchReceived / elapsed);
  const bool ranOn = window->m_bDownloading;
  if (!ranOn) std::fprintf(stderr, "bench-update: the download ended early (%u bytes)\n", window->m_dwPatchReceived);
  DestroyWindow(hwnd);
  return ranOn ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  platform::HeadlessDisplay display;
  UseDisplay(&display);
  platform::HeadlessBrowserEngine browsers;
  UseBrowserEngine(&browsers);
  int status = 2;
  if (argc == 4 && std::strcmp(argv[1], "query") == 0) {
    status = Query(std::atoi(argv[2]), argv[3]);
  } else if (argc == 4 && std::strcmp(argv[1], "ticks") == 0) {
    status = Ticks(std::atof(argv[2]), argv[3]);
  } else {
    std::fprintf(stderr, "usage: bench-update query COUNT URL | bench-update ticks SECONDS PATCH-URL\n");
  }
  UseBrowserEngine(nullptr);
  UseDisplay(nullptr);
  return status;
}
