// The maker's web host: one HTTP server, reached on port 80, that answers the
// update queries and serves the news page and the two web pages. Its name is
// fixed when the launcher is built and may be overridden when it runs by the
// environment variable MORAVINE_WEB_HOST (a host name or a dotted address).
#pragma once

#include <string>

// The host's name as the environment says now. A MORAVINE_WEB_HOST that is
// empty or holds anything besides a host name or a dotted address (a port,
// a path, blanks, control characters) is ignored, with one line on standard
// error, and the build's default is used.
std::string WebHostName();

// The version query.
std::string VersionQueryUrl();
// The download-site query.
std::string DownloadSiteQueryUrl();
// The news page shown in the web panel.
std::string NewsPageUrl();
// The member sign-up page.
std::string SignUpPageUrl();
// The recruitment page.
std::string RecruitmentPageUrl();
