// What every fuzz target provides. Each target is one source file defining
// these two functions; it is built twice: with libFuzzer's entry points
// (LibFuzzerEntry.cpp) to search for inputs, and with ReplayInputs.cpp to
// run kept inputs in the ordinary test suite.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

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
