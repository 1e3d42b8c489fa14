#include "update/HttpRequest.h"

#include <string_view>

namespace {

constexpr std::string_view kGet = "GET ";
constexpr std::string_view kVersion = " HTTP/1.1\r\n";
constexpr std::string_view kHost = "Host: ";
constexpr std::string_view kAccept = "Accept: */*\r\n";
constexpr std::string_view kReferer = "Referer: ";
constexpr std::string_view kUserAgent = "User-Agent: Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)\r\n";
constexpr std::string_view kNoCache = "Pragma: no-cache\r\nCache-Control: no-cache\r\n";
constexpr std::string_view kClose = "Connection: close\r\n\r\n";
constexpr std::string_view kLineEnd = "\r\n";

static_assert(kGet.size() + kMaxPathLength + kVersion.size() + kHost.size() + kMaxHostLength + kLineEnd.size() +
                      kAccept.size() + kReferer.size() + kMaxRefererLength + kLineEnd.size() + kUserAgent.size() +
                      kNoCache.size() + kClose.size() <=
                  kMaxRequestLength,
              "the longest request must fit the request text");

}  // namespace

std::string BuildRequest(const UrlParts& parts, bool noCache) {
  std::string request;
  request.reserve(kMaxRequestLength);
  request.append(kGet).append(parts.path).append(kVersion);
  request.append(kHost).append(parts.host).append(kLineEnd);
  request.append(kAccept);
  request.append(kReferer).append(parts.referer).append(kLineEnd);
  request.append(kUserAgent);
  if (noCache) {
    request.append(kNoCache);
  }
  request.append(kClose);
  return request;
}
