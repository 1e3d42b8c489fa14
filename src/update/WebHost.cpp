#include "update/WebHost.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace {

std::string OnWebHost(const char* path) { return "http://" + WebHostName() + path; }

// A host name or a dotted address and nothing else: letters, digits, dots
// and hyphens. A port, a path, blanks or control characters are refused.
bool IsPlainHost(std::string_view host) {
  return !host.empty() && std::ranges::all_of(host, [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-';
  });
}

// The value as one printable line: other bytes as \xNN.
std::string Printable(std::string_view text) {
  std::string shown;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F) {
      shown += c;
    } else {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      shown += escaped;
    }
  }
  return shown;
}

}  // namespace

std::string WebHostName() {
  const char* host = std::getenv("MORAVINE_WEB_HOST");
  if (host == nullptr) {
    return MORAVINE_DEFAULT_WEB_HOST;
  }
  if (IsPlainHost(host)) {
    return host;
  }
  // Said once for each refused value, not at every use of the host.
  static std::optional<std::string> refused;
  if (refused != host) {
    refused = host;
    std::fprintf(stderr,
                 "MORAVINE_WEB_HOST \"%s\" ignored: it must be a bare host name or dotted address "
                 "(no port, path, blanks or control characters); using %s\n",
                 Printable(host).c_str(), MORAVINE_DEFAULT_WEB_HOST);
  }
  return MORAVINE_DEFAULT_WEB_HOST;
}

std::string VersionQueryUrl() { return OnWebHost("/latest_version/mrv/2.0.x.x.x/version.php"); }

std::string DownloadSiteQueryUrl() { return OnWebHost("/latest_version/mrv/2.0.x.x.x/download_sites.php"); }

std::string NewsPageUrl() { return OnWebHost("/MRV/loader/SP/index.htm"); }

std::string SignUpPageUrl() { return OnWebHost("/modules/gamelinks/reggame.php"); }

std::string RecruitmentPageUrl() { return OnWebHost("/modules/job/"); }
