// The tests speak to servers of their own: a proxy from the environment that
// runs them must not come between, unless a test puts one there itself.
#pragma once

#include <cstdlib>
#include <initializer_list>

inline void ClearProxyEnvironment() {
  for (const char* name :
       {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY", "no_proxy", "NO_PROXY"}) {
#ifdef _WIN32
    _putenv_s(name, "");  // an empty value removes the variable
#else
    unsetenv(name);
#endif
  }
}
