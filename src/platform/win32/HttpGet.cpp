#include "platform/network/HttpGet.h"

#include "DetachedThread.h"
#include "WinInetError.h"
#include "platform/network/HeaderText.h"
#include "platform/network/StallWatch.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <cassert>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <utility>
#include <vector>

namespace platform {
namespace {

// The worker reads the body in blocks of at most this size into a buffer
// that holds two of them; it waits while less than a block would fit.
constexpr std::size_t kReadBlock = 16 * 1024;
constexpr std::size_t kBodyBufferSize = 2 * kReadBlock;
// WinINet ends a receive that waits longer than the silence the transfer
// allows and this much more: the stall limits, checked by the caller, decide
// first, and a worker whose transfer they failed does not wait on for long.
constexpr std::chrono::seconds kWorkerGrace{10};
// Redirects are followed here, so that their number and schemes are checked.
constexpr DWORD kRequestFlags = INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_AUTH;
constexpr const char* kHttpVersion = "HTTP/1.0";

// An open WinINet handle, closed with its owner.
class InternetHandle {
 public:
  explicit InternetHandle(HINTERNET handle = nullptr) : handle_(handle) {}
  ~InternetHandle() { Reset(); }
  InternetHandle(InternetHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  InternetHandle& operator=(InternetHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;

  HINTERNET get() const { return handle_; }
  void Reset() {
    if (handle_ != nullptr) InternetCloseHandle(std::exchange(handle_, nullptr));
  }

 private:
  HINTERNET handle_;
};

// What the caller and the worker thread share, under `mutex`. The worker
// holds a reference, so an HttpGet dropped mid-transfer leaves it to end.
struct Exchange {
  // Ends the transfer with `reason`, unless it has ended already.
  void Fail(std::string reason) {
    if (finished) return;
    finished = true;
    failure = std::move(reason);
  }
  // Tells the worker to stop at its next look; nothing it takes from then
  // on reaches the reader. A WinINet call it waits in is not cut short
  // (Wine's closing of a handle waits for a read on it to end), but ends by
  // WinINet's own limits.
  void Cancel() {
    cancelled = true;
    room.notify_all();
  }
  bool Failed() const { return finished && !failure.empty(); }
  std::size_t Room() const { return body.size() - bodyCount; }

  std::mutex mutex;
  std::condition_variable room;  // the reader made room, or the transfer was cancelled
  bool cancelled = false;

  int status = 0;
  bool headersDone = false;
  std::vector<std::string> headerLines;

  std::vector<char> body = std::vector<char>(kBodyBufferSize);
  std::size_t bodyStart = 0;
  std::size_t bodyCount = 0;
  bool waitingForReader = false;
  // Header and body bytes received.
  std::size_t arrived = 0;
  bool finished = false;
  std::string failure;  // empty while the transfer has not failed
};

// The worker's side: the blocking WinINet calls, one request after another
// until a reply is not a redirect, then its body. The handles are its own.
class Worker {
 public:
  Worker(std::shared_ptr<Exchange> exchange, InternetHandle internet, std::string url)
      : x_(std::move(exchange)), internet_(std::move(internet)), url_(std::move(url)) {}

  void Run() {
    std::string failure = Fetch();
    const std::lock_guard lock(x_->mutex);
    if (failure.empty()) {
      x_->finished = true;
    } else {
      x_->Fail(std::move(failure));
    }
  }

 private:
  // The whole exchange; the reason it failed, or empty.
  std::string Fetch() {
    for (int redirects = 0;; ++redirects) {
      std::string failure = Request();
      if (!failure.empty() || Cancelled()) return failure;
      const std::optional<std::string> location = FindHeader(headerLines_, "Location");
      if (status_ < 300 || status_ >= 400 || !location) break;
      if (redirects == HttpGet::kMaxRedirects) {
        return "Maximum (" + std::to_string(HttpGet::kMaxRedirects) + ") redirects followed";
      }
      failure = FollowTo(*location);
      if (!failure.empty()) return failure;
    }
    {
      const std::lock_guard lock(x_->mutex);
      x_->status = status_;
      x_->headerLines = std::move(headerLines_);
      x_->headersDone = true;
    }
    return ReadBody();
  }

  // Sends one request to url_ and takes its reply's headers.
  std::string Request() {
    std::string host(url_.size(), '\0');
    std::string path(url_.size(), '\0');
    std::string extra(url_.size(), '\0');
    URL_COMPONENTSA parts{};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host.data();
    parts.dwHostNameLength = static_cast<DWORD>(host.size() + 1);
    parts.lpszUrlPath = path.data();
    parts.dwUrlPathLength = static_cast<DWORD>(path.size() + 1);
    parts.lpszExtraInfo = extra.data();
    parts.dwExtraInfoLength = static_cast<DWORD>(extra.size() + 1);
    parts.dwSchemeLength = 1;
    if (!InternetCrackUrlA(url_.c_str(), 0, 0, &parts)) return WinInetErrorText(GetLastError());
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) {
      return "Protocol \"" + std::string(parts.lpszScheme, parts.dwSchemeLength) + "\" not supported";
    }
    host.resize(parts.dwHostNameLength);
    path.resize(parts.dwUrlPathLength);
    extra.resize(parts.dwExtraInfoLength);
    // A fragment names a part of the page; it is not sent.
    std::string object = path.empty() ? "/" : path;
    object.append(extra.substr(0, extra.find('#')));

    request_.Reset();
    connection_ = InternetHandle(
        InternetConnectA(internet_.get(), host.c_str(), parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (connection_.get() == nullptr) return WinInetErrorText(GetLastError());
    const DWORD flags = kRequestFlags | (parts.nScheme == INTERNET_SCHEME_HTTPS ? INTERNET_FLAG_SECURE : 0);
    request_ = InternetHandle(
        HttpOpenRequestA(connection_.get(), "GET", object.c_str(), kHttpVersion, nullptr, nullptr, flags, 0));
    if (request_.get() == nullptr) return WinInetErrorText(GetLastError());
    if (!HttpSendRequestA(request_.get(), nullptr, 0, nullptr, 0)) return WinInetErrorText(GetLastError());
    return TakeHeaders();
  }

  std::string TakeHeaders() {
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!HttpQueryInfoA(request_.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr)) {
      return WinInetErrorText(GetLastError());
    }
    std::string raw;
    size = 0;
    while (!HttpQueryInfoA(request_.get(), HTTP_QUERY_RAW_HEADERS_CRLF, raw.empty() ? nullptr : raw.data(), &size,
                           nullptr)) {
      if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || !raw.empty()) return WinInetErrorText(GetLastError());
      raw.assign(size + 1, '\0');
    }
    raw.resize(size);
    status_ = static_cast<int>(status);
    headerLines_.clear();
    // The status line first, then the header lines, then an empty one.
    for (std::size_t at = raw.find("\r\n"); at != std::string::npos && at + 2 < raw.size();) {
      const std::size_t end = std::min(raw.find("\r\n", at + 2), raw.size());
      const std::string_view line = TrimBlanks(std::string_view(raw).substr(at + 2, end - at - 2));
      if (!line.empty()) headerLines_.emplace_back(line);
      at = end;
    }
    const std::lock_guard lock(x_->mutex);
    x_->arrived += raw.size();
    return {};
  }

  // The next request goes to `location`, read against the address that
  // named it.
  std::string FollowTo(const std::string& location) {
    std::string next(url_.size() + location.size() + 1, '\0');
    DWORD length = static_cast<DWORD>(next.size());
    if (!InternetCombineUrlA(url_.c_str(), location.c_str(), next.data(), &length, ICU_NO_ENCODE)) {
      return WinInetErrorText(GetLastError());
    }
    next.resize(length);
    if (HasBlankOrControl(next)) return "A redirect names an address with a blank or a control character";
    url_ = std::move(next);
    return {};
  }

  std::string ReadBody() {
    std::vector<char> block(kReadBlock);
    for (;;) {
      {
        std::unique_lock lock(x_->mutex);
        x_->waitingForReader = x_->Room() < kReadBlock;
        x_->room.wait(lock, [this] { return x_->cancelled || x_->Room() >= kReadBlock; });
        x_->waitingForReader = false;
        if (x_->cancelled) return {};
      }
      // A read takes what it asks for or the end of the body, so it asks
      // only for what has come: the player sees each part as it arrives.
      DWORD waiting = 0;
      if (!InternetQueryDataAvailable(request_.get(), &waiting, 0, 0)) return WinInetErrorText(GetLastError());
      DWORD got = 0;
      const DWORD ask = std::clamp<DWORD>(waiting, 1, static_cast<DWORD>(block.size()));
      if (!InternetReadFile(request_.get(), block.data(), ask, &got)) return WinInetErrorText(GetLastError());
      if (got == 0) return {};  // the body has ended
      const std::lock_guard lock(x_->mutex);
      if (x_->cancelled) return {};
      Exchange& x = *x_;
      if (x.bodyStart + x.bodyCount + got > x.body.size()) {
        std::memmove(x.body.data(), x.body.data() + x.bodyStart, x.bodyCount);
        x.bodyStart = 0;
      }
      std::memcpy(x.body.data() + x.bodyStart + x.bodyCount, block.data(), got);
      x.bodyCount += got;
      x.arrived += got;
    }
  }

  bool Cancelled() {
    const std::lock_guard lock(x_->mutex);
    return x_->cancelled;
  }

  std::shared_ptr<Exchange> x_;
  InternetHandle internet_;
  InternetHandle connection_;
  InternetHandle request_;
  std::string url_;
  int status_ = 0;
  std::vector<std::string> headerLines_;
};

}  // namespace

struct HttpGet::Transfer {
  std::shared_ptr<Exchange> exchange = std::make_shared<Exchange>();
  std::string url;
  bool started = false;
  StallLimits limits;
  StallWatch stall;
};

HttpGet::HttpGet(std::string_view server, unsigned port, std::string_view object)
    : transfer_(std::make_unique<Transfer>()) {
  transfer_->url = RequestUrl(server, port, object);
}

HttpGet::~HttpGet() {
  const std::lock_guard lock(transfer_->exchange->mutex);
  transfer_->exchange->Cancel();
}

void HttpGet::SetStallLimits(const StallLimits& limits) { transfer_->limits = limits; }

bool HttpGet::Start(std::string& error) {
  Transfer& t = *transfer_;
  assert(!t.started);
  // Whatever the address held, no blank, CR or LF goes into the request.
  if (HasBlankOrControl(t.url)) {
    error = "The address holds a blank or a control character";
    return false;
  }
  InternetHandle internet(InternetOpenA(nullptr, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (internet.get() == nullptr) {
    error = WinInetErrorText(GetLastError());
    return false;
  }
  const auto connectMs = static_cast<DWORD>(std::chrono::milliseconds(kConnectTimeout).count());
  const auto silenceMs = static_cast<DWORD>((t.limits.silence + kWorkerGrace).count());
  for (const auto& [option, value] : {std::pair{INTERNET_OPTION_CONNECT_TIMEOUT, connectMs},
                                      {INTERNET_OPTION_RECEIVE_TIMEOUT, silenceMs},
                                      {INTERNET_OPTION_SEND_TIMEOUT, silenceMs}}) {
    DWORD set = value;
    if (!InternetSetOptionA(internet.get(), option, &set, sizeof set)) {
      error = WinInetErrorText(GetLastError());
      return false;
    }
  }
  auto worker = std::make_shared<Worker>(t.exchange, std::move(internet), t.url);
  if (!RunDetached([worker] { worker->Run(); })) {
    error = WinInetErrorText(GetLastError());
    return false;
  }
  t.started = true;
  t.stall.Start(StallWatch::Clock::now(), 0);
  return true;
}

bool HttpGet::Advance(std::string& error) {
  Transfer& t = *transfer_;
  assert(t.started);
  Exchange& x = *t.exchange;
  const std::lock_guard lock(x.mutex);
  if (!x.finished) {
    std::string stalled = t.stall.Check(t.limits, StallWatch::Clock::now(), x.arrived, x.waitingForReader);
    if (!stalled.empty()) {
      x.Fail(std::move(stalled));
      x.Cancel();
    }
  }
  if (!x.Failed()) return true;
  error = x.failure;
  return false;
}

bool HttpGet::HeadersArrived() const {
  const std::lock_guard lock(transfer_->exchange->mutex);
  return transfer_->exchange->headersDone;
}

int HttpGet::Status() const {
  const std::lock_guard lock(transfer_->exchange->mutex);
  return transfer_->exchange->status;
}

std::optional<std::string> HttpGet::Header(std::string_view name) const {
  const std::lock_guard lock(transfer_->exchange->mutex);
  return FindHeader(transfer_->exchange->headerLines, name);
}

std::size_t HttpGet::Available() const {
  const std::lock_guard lock(transfer_->exchange->mutex);
  return transfer_->exchange->bodyCount;
}

bool HttpGet::BodyEnded() const {
  const Exchange& x = *transfer_->exchange;
  const std::lock_guard lock(transfer_->exchange->mutex);
  return x.finished && !x.Failed() && x.bodyCount == 0;
}

std::size_t HttpGet::Read(char* buffer, std::size_t size) {
  Exchange& x = *transfer_->exchange;
  const std::lock_guard lock(x.mutex);
  const std::size_t take = std::min(x.bodyCount, size);
  std::memcpy(buffer, x.body.data() + x.bodyStart, take);
  x.bodyStart += take;
  x.bodyCount -= take;
  if (x.bodyCount == 0) x.bodyStart = 0;
  if (x.Room() >= kReadBlock) x.room.notify_all();
  return take;
}

}  // namespace platform
