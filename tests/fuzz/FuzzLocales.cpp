#include "FuzzLocales.h"

#include <clocale>
#include <cstdio>

const std::vector<const char*>& FuzzLocales() {
  static const std::vector<const char*> locales = [] {
    std::vector<const char*> found{"C.UTF-8"};
    if (std::setlocale(LC_ALL, "zh_TW.BIG5") != nullptr) {
      found.push_back("zh_TW.BIG5");
    } else {
      std::fprintf(stderr, "fuzz target: no zh_TW.BIG5 locale, UTF-8 only\n");
    }
    std::setlocale(LC_ALL, "C.UTF-8");
    return found;
  }();
  return locales;
}
