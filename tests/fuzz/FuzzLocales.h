// The locales the launcher's narrow texts are read in: UTF-8, and Big5 as on
// the game's players' systems.
#pragma once

#include <vector>

// The names of those of the two locales this system has; the UTF-8 one
// always. The Big5 locale is made by tools/setup-debian.sh.
const std::vector<const char*>& FuzzLocales();
