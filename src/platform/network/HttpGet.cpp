#include "platform/network/HttpGet.h"

#include "platform/network/CurlLibrary.h"
#include "platform/network/HeaderText.h"
#include "platform/network/StallWatch.h"

#include <curl/curl.h>

#include <algorithm>
#include <cassert>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

namespace platform {
namespace {

// Twice curl's largest write: once the buffer has room for one such write,
// the block that curl held back while paused always fits.
constexpr std::size_t kBodyBufferSize = 2 * CURL_MAX_WRITE_SIZE;

}  // namespace

struct HttpGet::Transfer {
  // A transfer over the loaded library; without it (null) a transfer that
  // only fails, with `loadError` as its reason.
  Transfer(const CurlLibrary* library, std::string loadError) : curl(library) {
    if (curl == nullptr) {
      setupResult = CURLE_FAILED_INIT;
      failureText = std::move(loadError);
      return;
    }
    easy = curl->easy_init();
    multi = curl->multi_init();
    if (easy == nullptr || multi == nullptr) {
      Release();
      throw std::bad_alloc();
    }
  }
  ~Transfer() { Release(); }
  Transfer(const Transfer&) = delete;
  Transfer& operator=(const Transfer&) = delete;

  void Release() {
    if (curl == nullptr) return;
    if (added) curl->multi_remove_handle(multi, easy);
    if (easy != nullptr) curl->easy_cleanup(easy);
    if (multi != nullptr) curl->multi_cleanup(multi);
    curl->slist_free_all(requestHeaders);
  }

  template <class T>
  void Set(CURLoption option, T value) {
    if (setupResult == CURLE_OK) setupResult = curl->easy_setopt(easy, option, value);
  }

  // One line of a reply's header block. Only the final reply's block is
  // kept: interim replies (1xx) and redirects that curl follows come first.
  static std::size_t OnHeader(char* data, std::size_t, std::size_t size, void* self) {
    auto& t = *static_cast<Transfer*>(self);
    t.arrived += size;
    const std::string_view line = TrimBlanks(std::string_view(data, size));
    if (t.headersDone) return size;
    if (line.starts_with("HTTP/")) {
      t.headerLines.clear();
      t.status = 0;
      t.redirect = false;
      const std::size_t space = line.find(' ');
      if (space != std::string_view::npos) t.status = std::atoi(std::string(line.substr(space + 1, 3)).c_str());
    } else if (line.empty()) {
      const bool interim = t.status >= 100 && t.status < 200;
      const bool followed = t.status >= 300 && t.status < 400 && t.redirect;
      t.headersDone = !interim && !followed;
    } else {
      if (IsHeaderNamed(line, "Location")) t.redirect = true;
      t.headerLines.emplace_back(line);
    }
    return size;
  }

  // Body bytes: kept while they fit, otherwise curl holds them and pauses.
  static std::size_t OnBody(char* data, std::size_t, std::size_t size, void* self) {
    auto& t = *static_cast<Transfer*>(self);
    if (t.bodyCount + size > t.body.size()) {
      t.paused = true;
      return CURL_WRITEFUNC_PAUSE;
    }
    if (t.bodyStart + t.bodyCount + size > t.body.size()) {
      std::memmove(t.body.data(), t.body.data() + t.bodyStart, t.bodyCount);
      t.bodyStart = 0;
    }
    std::memcpy(t.body.data() + t.bodyStart + t.bodyCount, data, size);
    t.bodyCount += size;
    t.arrived += size;
    return size;
  }

  // One non-blocking turn of curl's work, and the news of its end.
  void Perform() {
    int running = 0;
    const CURLMcode code = curl->multi_perform(multi, &running);
    if (code != CURLM_OK) {
      FailWith(curl->multi_strerror(code));
      return;
    }
    int left = 0;
    while (CURLMsg* message = curl->multi_info_read(multi, &left)) {
      if (message->msg == CURLMSG_DONE && message->easy_handle == easy) {
        finished = true;
        result = message->data.result;
        // A reply that ended without a header block still ends its headers.
        if (result == CURLE_OK) headersDone = true;
      }
    }
  }

  // The stall limits, at `now`.
  void WatchStall(StallWatch::Clock::time_point now) {
    const std::string stalled = stall.Check(limits, now, arrived, paused);
    if (!stalled.empty()) FailWith(stalled.c_str());
  }

  bool Failed() const { return finished && result != CURLE_OK && result != CURLE_PARTIAL_FILE; }

  void FailWith(const char* text) {
    finished = true;
    result = CURLE_RECV_ERROR;
    failureText = text;
  }

  std::string ErrorText() const {
    if (!failureText.empty()) return failureText;
    if (errorBuffer[0] != '\0') return errorBuffer;
    return curl->easy_strerror(result);
  }

  const CurlLibrary* curl;
  CURL* easy = nullptr;
  CURLM* multi = nullptr;
  curl_slist* requestHeaders = nullptr;
  CURLcode setupResult = CURLE_OK;
  bool added = false;
  char errorBuffer[CURL_ERROR_SIZE] = {};
  std::string failureText;

  int status = 0;
  bool redirect = false;
  bool headersDone = false;
  std::vector<std::string> headerLines;

  std::vector<char> body = std::vector<char>(kBodyBufferSize);
  std::size_t bodyStart = 0;
  std::size_t bodyCount = 0;
  bool paused = false;
  bool finished = false;
  CURLcode result = CURLE_OK;

  StallLimits limits;
  // Header and body bytes taken from curl.
  std::size_t arrived = 0;
  StallWatch stall;
};

HttpGet::HttpGet(std::string_view server, unsigned port, std::string_view object) {
  std::string loadError;
  const CurlLibrary* curl = LoadCurlLibrary(loadError);
  transfer_ = std::make_unique<Transfer>(curl, std::move(loadError));
  Transfer& t = *transfer_;
  if (curl == nullptr) return;
  const std::string url = RequestUrl(server, port, object);
  // Whatever the address held, no blank, CR or LF goes into the request.
  if (HasBlankOrControl(url) && t.setupResult == CURLE_OK) t.setupResult = CURLE_URL_MALFORMAT;
  t.requestHeaders = curl->slist_append(nullptr, "Accept:");
  if (t.requestHeaders == nullptr) throw std::bad_alloc();
  t.Set(CURLOPT_ERRORBUFFER, t.errorBuffer);
  t.Set(CURLOPT_URL, url.c_str());
  t.Set(CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
  t.Set(CURLOPT_HTTPHEADER, t.requestHeaders);
  t.Set(CURLOPT_PROTOCOLS_STR, "http,https");
  t.Set(CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  t.Set(CURLOPT_FOLLOWLOCATION, 1L);
  t.Set(CURLOPT_MAXREDIRS, static_cast<long>(kMaxRedirects));
  t.Set(CURLOPT_SSL_VERIFYPEER, 1L);
  t.Set(CURLOPT_SSL_VERIFYHOST, 2L);
  t.Set(CURLOPT_CONNECTTIMEOUT, static_cast<long>(kConnectTimeout.count()));
  t.Set(CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
  t.Set(CURLOPT_NOSIGNAL, 1L);
  t.Set(CURLOPT_HEADERFUNCTION, &Transfer::OnHeader);
  t.Set(CURLOPT_HEADERDATA, &t);
  t.Set(CURLOPT_WRITEFUNCTION, &Transfer::OnBody);
  t.Set(CURLOPT_WRITEDATA, &t);
}

HttpGet::~HttpGet() = default;

void HttpGet::SetStallLimits(const StallLimits& limits) { transfer_->limits = limits; }

bool HttpGet::Start(std::string& error) {
  Transfer& t = *transfer_;
  assert(!t.added);
  if (t.setupResult != CURLE_OK) {
    error = t.curl != nullptr ? t.curl->easy_strerror(t.setupResult) : t.failureText;
    return false;
  }
  const CURLMcode added = t.curl->multi_add_handle(t.multi, t.easy);
  if (added != CURLM_OK) {
    error = t.curl->multi_strerror(added);
    return false;
  }
  t.added = true;
  t.stall.Start(StallWatch::Clock::now(), t.arrived);
  return true;
}

bool HttpGet::Advance(std::string& error) {
  Transfer& t = *transfer_;
  assert(t.added);
  if (!t.finished) {
    t.Perform();
    if (!t.finished) t.WatchStall(StallWatch::Clock::now());
  }
  if (!t.Failed()) return true;
  error = t.ErrorText();
  return false;
}

bool HttpGet::HeadersArrived() const { return transfer_->headersDone; }

int HttpGet::Status() const { return transfer_->status; }

std::optional<std::string> HttpGet::Header(std::string_view name) const {
  return FindHeader(transfer_->headerLines, name);
}

std::size_t HttpGet::Available() const { return transfer_->bodyCount; }

bool HttpGet::BodyEnded() const {
  const Transfer& t = *transfer_;
  return t.finished && !t.Failed() && t.bodyCount == 0 && !t.paused;
}

std::size_t HttpGet::Read(char* buffer, std::size_t size) {
  Transfer& t = *transfer_;
  const std::size_t take = std::min(t.bodyCount, size);
  std::memcpy(buffer, t.body.data() + t.bodyStart, take);
  t.bodyStart += take;
  t.bodyCount -= take;
  if (t.bodyCount == 0) t.bodyStart = 0;
  // Once a whole write fits again, curl may hand over the block it holds.
  if (t.paused && t.body.size() - t.bodyCount >= CURL_MAX_WRITE_SIZE) {
    t.paused = false;
    const CURLcode resumed = t.curl->easy_pause(t.easy, CURLPAUSE_CONT);
    if (resumed != CURLE_OK) t.FailWith(t.curl->easy_strerror(resumed));
  }
  return take;
}

}  // namespace platform
