#include "platform/network/StallWatch.h"

namespace platform {
namespace {

// A span as the player reads it: whole seconds where it is whole.
std::string SpanText(std::chrono::milliseconds span) {
  if (span.count() % 1000 == 0) return std::to_string(span.count() / 1000) + " seconds";
  return std::to_string(span.count()) + " ms";
}

}  // namespace

void StallWatch::Start(Clock::time_point now, std::size_t arrived) {
  lastArrival_ = spanStart_ = now;
  seenArrived_ = spanArrived_ = arrived;
}

std::string StallWatch::Check(const HttpGet::StallLimits& limits, Clock::time_point now, std::size_t arrived,
                              bool paused) {
  // While the body waits for the reader the server is not asked for
  // anything, so that time does not count.
  if (paused) {
    Start(now, arrived);
    return {};
  }
  if (arrived != seenArrived_) {
    seenArrived_ = arrived;
    lastArrival_ = now;
  }
  if (now - lastArrival_ >= limits.silence) {
    return "Operation too slow: nothing received for " + SpanText(limits.silence);
  }
  if (now - spanStart_ >= limits.slowSpan) {
    if (arrived - spanArrived_ < limits.slowBytes) {
      return "Operation too slow: less than " + std::to_string(limits.slowBytes) + " bytes received in " +
             SpanText(limits.slowSpan);
    }
    spanStart_ = now;
    spanArrived_ = arrived;
  }
  return {};
}

}  // namespace platform
