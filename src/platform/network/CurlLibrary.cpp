#include "platform/network/CurlLibrary.h"

#include <dlfcn.h>

#include <optional>

namespace platform {
namespace {

// libcurl's ABI has kept this name since 2006.
constexpr char kLibraryName[] = "libcurl.so.4";

// Looks up `name` in the library, as `function`; false, with the reason, when it is missing.
template <class Function>
bool Resolve(void* library, const char* name, Function& function, std::string& error) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  if (function == nullptr) {
    error = std::string(kLibraryName) + " has no " + name;
    return false;
  }
  return true;
}

std::optional<CurlLibrary> Open(std::string& error) {
  // Never closed: curl's process-wide state lives in the library until the end.
  void* library = dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    error = dlerror();
    return std::nullopt;
  }
  CurlLibrary curl{};
  decltype(&curl_global_init) globalInit = nullptr;
  const bool complete = Resolve(library, "curl_global_init", globalInit, error) &&
                        Resolve(library, "curl_easy_init", curl.easy_init, error) &&
                        Resolve(library, "curl_easy_cleanup", curl.easy_cleanup, error) &&
                        Resolve(library, "curl_easy_setopt", curl.easy_setopt, error) &&
                        Resolve(library, "curl_easy_pause", curl.easy_pause, error) &&
                        Resolve(library, "curl_easy_strerror", curl.easy_strerror, error) &&
                        Resolve(library, "curl_multi_init", curl.multi_init, error) &&
                        Resolve(library, "curl_multi_cleanup", curl.multi_cleanup, error) &&
                        Resolve(library, "curl_multi_add_handle", curl.multi_add_handle, error) &&
                        Resolve(library, "curl_multi_remove_handle", curl.multi_remove_handle, error) &&
                        Resolve(library, "curl_multi_perform", curl.multi_perform, error) &&
                        Resolve(library, "curl_multi_info_read", curl.multi_info_read, error) &&
                        Resolve(library, "curl_multi_strerror", curl.multi_strerror, error) &&
                        Resolve(library, "curl_slist_append", curl.slist_append, error) &&
                        Resolve(library, "curl_slist_free_all", curl.slist_free_all, error);
  if (!complete) {
    return std::nullopt;
  }
  const CURLcode started = globalInit(CURL_GLOBAL_DEFAULT);
  if (started != CURLE_OK) {
    error = curl.easy_strerror(started);
    return std::nullopt;
  }
  return curl;
}

}  // namespace

const CurlLibrary* LoadCurlLibrary(std::string& error) {
  static std::optional<CurlLibrary> loaded;
  if (!loaded) {
    loaded = Open(error);
  }
  return loaded ? &*loaded : nullptr;
}

}  // namespace platform
