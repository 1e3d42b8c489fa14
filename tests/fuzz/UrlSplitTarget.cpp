// The splitting of an update query's URL and the request built from it, in
// each locale. The input is the URL (up to its first zero byte).
#include "FuzzLocales.h"
#include "FuzzTarget.h"
#include "update/HttpRequest.h"
#include "update/UrlParts.h"

#include <clocale>
#include <string>

void FuzzInitialize() { FuzzLocales(); }

int FuzzOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string url(reinterpret_cast<const char*>(data), size);
  for (const char* locale : FuzzLocales()) {
    std::setlocale(LC_ALL, locale);
    const auto parts = SplitUrl(url.c_str());
    if (!parts) {
      continue;
    }
    Require(parts->path.starts_with('/') && parts->path.size() <= kMaxPathLength,
            "the path starts with a slash and fits");
    Require(parts->host.size() <= kMaxHostLength && parts->host.find('/') == std::string::npos,
            "the host fits and holds no slash");
    Require(parts->referer.ends_with('/') && parts->referer.size() <= kMaxRefererLength,
            "the referer ends with a slash and fits");
    const std::string request = BuildRequest(*parts, true);
    Require(request.size() <= kMaxRequestLength, "the request fits its text");
    Require(request.starts_with("GET " + parts->path + " HTTP/1.1\r\nHost: " + parts->host + "\r\n"),
            "the request begins with the request line and the host");
    Require(request.ends_with("\r\nConnection: close\r\n\r\n"), "the request ends with its empty line");
  }
  return 0;
}
