// One HTTP GET over libcurl, read in the caller's own pace: the reply's body
// waits in a small buffer of fixed size, and the transfer pauses while that
// buffer is full, so a large body is never held in memory.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

class HttpGet {
 public:
  // An HTTP/1.0 GET of `object` (path and query, already escaped) from
  // server:port, with no User-Agent and no Accept header, through the proxy
  // the environment names (http_proxy, no_proxy). Nothing is sent yet.
  HttpGet(std::string_view server, unsigned port, std::string_view object);
  ~HttpGet();
  HttpGet(const HttpGet&) = delete;
  HttpGet& operator=(const HttpGet&) = delete;

  // Sends the request and waits until the final reply's headers have
  // arrived. Redirects are followed, at most 10, to http and https only, with
  // certificates verified. A connection not made within 30 s or a reply that
  // stalls for 60 s fails. On failure, false and curl's text in `error`.
  bool Send(std::string& error);

  // The value of header `name` (any case) in the final reply's headers,
  // without the blanks around it; nothing when the reply has no such header.
  std::optional<std::string> Header(std::string_view name) const;

  // Waits until `size` bytes of the body or its end have come and copies
  // them to `buffer`: a count below `size` means the end of the body, also
  // when the server closed the connection before the length it announced.
  // After a successful Send only. On failure, nothing and curl's text in `error`.
  std::optional<std::size_t> Read(char* buffer, std::size_t size, std::string& error);

 private:
  struct Transfer;
  std::unique_ptr<Transfer> transfer_;
};

}  // namespace platform
