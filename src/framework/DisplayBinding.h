// The display the framework shows its windows on, chosen once by the program
// (the real screen) or by a test (the headless display).
#pragma once

#include "platform/ui/Display.h"

#include <string>

#ifdef _WIN32
// Windows has one display, the system's own; the framework only tells why it
// refused a window: the system's text for the last error.
std::string DisplayFailureReason();
#else

// Makes `display` the framework's display and routes its input into the
// message queue. Null detaches it.
void UseDisplay(platform::Display* display);
// Makes `display` the one CurrentDisplay returns, leaving its input alone;
// the part of UseDisplay below the message queue.
void BindDisplay(platform::Display* display);
// The framework's display, or null when none was chosen.
platform::Display* CurrentDisplay();
// Why the display cannot show windows: empty when it can.
std::string DisplayFailureReason();
#endif
