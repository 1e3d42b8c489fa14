// One HTTP GET (over libcurl on Linux, WinINet on Windows), driven in the
// caller's own pace and never waiting: each call does what the network allows
// at that moment. The reply's body waits in a small buffer of fixed size, and the transfer pauses while
// that buffer is full, so a large body is never held in memory. On Linux
// libcurl is loaded with the first request (CurlLibrary.h).
#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

class HttpGet {
 public:
  // How long a transfer may go without progress before it fails: nothing
  // received for `silence`, or fewer than `slowBytes` in a span of
  // `slowSpan`. Time in which the transfer waits for the reader (its buffer
  // full) does not count.
  struct StallLimits {
    std::chrono::milliseconds silence{std::chrono::seconds(60)};
    std::chrono::milliseconds slowSpan{std::chrono::minutes(5)};
    std::size_t slowBytes = 1024;
  };

  // The most redirects a request follows, and how long its connection
  // attempt may take.
  static constexpr int kMaxRedirects = 10;
  static constexpr std::chrono::seconds kConnectTimeout{30};

  // An HTTP/1.0 GET of `object` (path and query, already escaped) from
  // server:port, with no User-Agent and no Accept header, through the proxy
  // the system names (on Linux the environment's http_proxy and no_proxy,
  // on Windows the system's internet settings). Nothing is sent yet.
  HttpGet(std::string_view server, unsigned port, std::string_view object);
  ~HttpGet();
  HttpGet(const HttpGet&) = delete;
  HttpGet& operator=(const HttpGet&) = delete;

  // Replaces the stall limits, before Start or while the transfer runs: each
  // Advance measures against the limits of the moment.
  void SetStallLimits(const StallLimits& limits);

  // Starts the request. Redirects are followed, at most 10, to http and https
  // only, with certificates verified. False, with the library's text in `error`,
  // when the request cannot be made at all, or with the loader's when
  // libcurl cannot be loaded.
  bool Start(std::string& error);

  // Moves the transfer on as far as it can go without waiting. False, with
  // the reason in `error`, once the transfer has failed: the server cannot
  // be reached, no connection within 30 s, a stall (see StallLimits), or
  // the transfer broke off. A body that ends before the length the server
  // announced is not a failure here.
  bool Advance(std::string& error);

  // Whether the final reply's headers have arrived; then its status code
  // and headers are known.
  bool HeadersArrived() const;
  int Status() const;
  // The value of header `name` (any case) in the final reply's headers,
  // without the blanks around it; nothing when the reply has no such header.
  std::optional<std::string> Header(std::string_view name) const;

  // Body bytes that Read hands out at once.
  std::size_t Available() const;
  // Whether the body has ended and every byte of it has been read.
  bool BodyEnded() const;
  // Copies up to `size` of the available body bytes to `buffer`; never
  // waits. Returns the count.
  std::size_t Read(char* buffer, std::size_t size);

 private:
  struct Transfer;
  std::unique_ptr<Transfer> transfer_;
};

}  // namespace platform
