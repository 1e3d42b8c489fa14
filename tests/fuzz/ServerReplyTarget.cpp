// The update server's two replies, read through the HTTP engine's real wait
// cycle from a scripted socket (ScriptedSocket.h) that hands the reply out in
// chunks of varying size with polls that find nothing in between.
//
// The fetch's result is checked against ExpectedReply.h's reading of the
// whole reply.
//
// Input: byte 0 chooses the query (bit 0: download site, else version), the
// locale (bit 1: Big5, else UTF-8), the end of the stream (bit 2: the
// connection breaks, else the server closes it) and the polls before the
// connection completes (bits 3 to 5); bytes 1 to 8 are the socket's rhythm;
// the rest is the reply.
#include "ExpectedReply.h"
#include "FuzzTarget.h"
#include "ScriptedSocket.h"
#include "framework/DisplayBinding.h"
#include "platform/headless/HeadlessDisplay.h"
#include "update/ChunkedSink.h"
#include "update/DownloadBuffer.h"
#include "update/HttpFetch.h"
#include "update/HttpRequest.h"
#include "update/StartSockets.h"
#include "update/UpdateAgent.h"
#include "update/UrlParts.h"

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

constexpr char kVersionUrl[] = "http://127.0.0.1/latest_version/mrv/2.0.x.x.x/version.php";
constexpr char kSiteUrl[] = "http://127.0.0.1/latest_version/mrv/2.0.x.x.x/download_sites.php";
constexpr std::size_t kRhythmBytes = 8;

// Answers the no-download message box at once.
platform::HeadlessDisplay display;

// The fetch hands back what the server sent before it closed, its chunked
// body decoded, and nothing when the connection broke before a chunked body's
// end or the chunked framing is malformed; what was sent is a prefix of the
// request.
void CheckFetch(const char* url, std::string_view reply, bool reset) {
  char* block = nullptr;
  const int result = HttpFetch(url, &block, 1, 1, nullptr, nullptr);
  const ExpectedReply expected = ExpectReply(reply, ChunkedSink::kMaxSizeLineBytes, ChunkedSink::kMaxTrailerBytes);
  if (!expected.text || (reset && !expected.endedByFraming)) {
    Require(block == nullptr && result == 0, "a broken connection or malformed framing fails the fetch");
  } else {
    const std::string& text = *expected.text;
    Require(block != nullptr, "a closed connection or a chunked body's end completes the fetch");
    Require(static_cast<std::size_t>(result) == text.size() && std::memcmp(block, text.data(), text.size()) == 0 &&
                block[result] == '\0',
            "the block holds the whole reply, terminated");
  }
  DownloadBuffer::Release(block);
  const std::string request = BuildRequest(*SplitUrl(url), true);
  Require(request.starts_with(fuzzsupport::SentBytes()), "the bytes sent are the request's");
}

}  // namespace

void FuzzInitialize() {
  FuzzLocales();
  UseDisplay(&display);
  std::atexit([] { UseDisplay(nullptr); });
}

int FuzzOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  const std::uint8_t mode = data[0];
  const bool siteQuery = (mode & 0x01) != 0;
  const bool big5 = (mode & 0x02) != 0;
  const bool reset = (mode & 0x04) != 0;
  const std::size_t rhythmBytes = std::min(size - 1, kRhythmBytes);
  fuzzsupport::SocketScript script;
  script.rhythm = {data + 1, rhythmBytes};
  script.reply = {reinterpret_cast<const char*>(data + 1 + rhythmBytes), size - 1 - rhythmBytes};
  script.connectPauses = (mode >> 3) & 0x07;
  script.resetAtEnd = reset;
  fuzzsupport::UseSocketScript(script);

  const auto& locales = FuzzLocales();
  std::setlocale(LC_ALL, big5 && locales.size() > 1 ? locales[1] : locales[0]);
  const char* url = siteQuery ? kSiteUrl : kVersionUrl;

  Require(StartSockets(), "sockets start");
  CheckFetch(url, script.reply, reset);
  CleanupSockets();

  UpdateAgent agent;
  if (siteQuery) {
    const bool found = agent.QueryDownloadSite(url);
    Require(found || agent.GetDownloadSite()[0] == '\0', "a failed query leaves the site empty");
    Require(std::memchr(agent.m_szDownloadSite, '\0', sizeof agent.m_szDownloadSite) != nullptr,
            "the site is terminated within its field");
  } else if (!agent.QueryLatestVersion(url)) {
    for (int i = 0; i < 5; ++i) {
      Require(agent.m_pLatestVersion[i] == -1, "a failed query leaves the version as it was");
    }
  }
  display.messageBoxes.clear();
  return 0;
}
