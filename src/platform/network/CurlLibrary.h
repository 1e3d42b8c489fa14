// libcurl, loaded when the first transfer is made rather than with the
// program: the library and its TLS, SSH and LDAP dependencies take some
// megabytes that a launcher which never downloads has no use for.
#pragma once

#include <curl/curl.h>

#include <string>

namespace platform {

// The libcurl functions the HTTP client calls, with curl's own signatures.
struct CurlLibrary {
  decltype(&curl_easy_init) easy_init;
  decltype(&curl_easy_cleanup) easy_cleanup;
  decltype(&curl_easy_setopt) easy_setopt;
  decltype(&curl_easy_pause) easy_pause;
  decltype(&curl_easy_strerror) easy_strerror;
  decltype(&curl_multi_init) multi_init;
  decltype(&curl_multi_cleanup) multi_cleanup;
  decltype(&curl_multi_add_handle) multi_add_handle;
  decltype(&curl_multi_remove_handle) multi_remove_handle;
  decltype(&curl_multi_perform) multi_perform;
  decltype(&curl_multi_info_read) multi_info_read;
  decltype(&curl_multi_strerror) multi_strerror;
  decltype(&curl_slist_append) slist_append;
  decltype(&curl_slist_free_all) slist_free_all;
};

// The library, loaded and set up (curl_global_init) at the first call and
// kept for the rest of the process. Null, with the reason in `error`, when it
// cannot be loaded or set up; a later call tries again.
const CurlLibrary* LoadCurlLibrary(std::string& error);

}  // namespace platform
