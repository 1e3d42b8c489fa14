#include "update/WebHost.h"

#include <cstdlib>

namespace {

std::string OnWebHost(const char* path) { return "http://" + WebHostName() + path; }

}  // namespace

std::string WebHostName() {
  const char* host = std::getenv("MORAVINE_WEB_HOST");
  return host != nullptr && *host != '\0' ? host : MORAVINE_DEFAULT_WEB_HOST;
}

std::string VersionQueryUrl() { return OnWebHost("/latest_version/mrv/2.0.x.x.x/version.php"); }

std::string DownloadSiteQueryUrl() {
  return OnWebHost("/latest_version/mrv/2.0.x.x.x/download_sites.php");
}

std::string NewsPageUrl() { return OnWebHost("/MRV/loader/SP/index.htm"); }

std::string SignUpPageUrl() { return OnWebHost("/modules/gamelinks/reggame.php"); }

std::string RecruitmentPageUrl() { return OnWebHost("/modules/job/"); }
