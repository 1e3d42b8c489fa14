// What every fuzz target provides. Each target is one source file defining
// these two functions; it is built twice: with libFuzzer's entry points
// (LibFuzzerEntry.cpp) to search for inputs, and with ReplayInputs.cpp to
// run kept inputs in the ordinary test suite.
#pragma once

#include <clocale>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

// Called once before the first input.
void FuzzInitialize();
// Runs one input; returns 0. A fault ends the process.
int FuzzOneInput(const std::uint8_t* data, std::size_t size);

// Ends the process with a message when a property the target checks fails,
// so that the fuzzer keeps the input.
inline void Require(bool holds, const char* property) {
  if (!holds) {
    std::fprintf(stderr, "fuzz target: property failed: %s\n", property);
    std::abort();
  }
}

// The locales the launcher's narrow texts are read in: UTF-8 always, and Big5
// as on the game's players' systems where this system has it (the Big5 locale
// is made by tools/setup-debian.sh).
inline const std::vector<const char*>& FuzzLocales() {
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
