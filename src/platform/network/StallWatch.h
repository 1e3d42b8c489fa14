// The stall limits of an HTTP transfer, measured the same way whatever
// moves the bytes: nothing received for a while, or too little in a span,
// with the time the transfer waits for its reader left out.
#pragma once

#include "platform/network/HttpGet.h"

#include <chrono>
#include <cstddef>
#include <string>

namespace platform {

class StallWatch {
 public:
  using Clock = std::chrono::steady_clock;

  // Starts measuring at `now`, with `arrived` bytes taken so far.
  void Start(Clock::time_point now, std::size_t arrived);

  // Measures the transfer at `now`: `arrived` counts every header and body
  // byte taken so far, `paused` tells that the transfer waits for its reader.
  // Returns the reason once a limit of `limits` is broken, else nothing.
  std::string Check(const HttpGet::StallLimits& limits, Clock::time_point now, std::size_t arrived, bool paused);

 private:
  std::size_t seenArrived_ = 0;
  Clock::time_point lastArrival_;
  Clock::time_point spanStart_;
  std::size_t spanArrived_ = 0;
};

}  // namespace platform
