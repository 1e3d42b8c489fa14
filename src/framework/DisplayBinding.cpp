#include "framework/DisplayBinding.h"

namespace {

platform::Display* g_display = nullptr;

}  // namespace

void BindDisplay(platform::Display* display) { g_display = display; }

platform::Display* CurrentDisplay() { return g_display; }

std::string DisplayFailureReason() {
  return g_display != nullptr ? g_display->FailureReason() : std::string("no display was chosen");
}
