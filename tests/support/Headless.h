// Test support: a headless display for the framework, and ways to run the
// message queue until something has happened.
#pragma once

#include "framework/MessageQueue.h"
#include "platform/headless/HeadlessBrowser.h"
#include "platform/headless/HeadlessDisplay.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string_view>

namespace testsupport {

// Installs a headless display and browser engine for the life of the object; on the way out,
// drops whatever is left in the queue, so tests do not see each other's messages.
class HeadlessSession {
 public:
  HeadlessSession();
  ~HeadlessSession();
  HeadlessSession(const HeadlessSession&) = delete;
  HeadlessSession& operator=(const HeadlessSession&) = delete;

  platform::HeadlessDisplay display;
  platform::HeadlessBrowserEngine browsers;
};

// Dispatches messages, waiting for timers as needed, until done() holds or
// the limit passes. Returns done(). A quit message taken here is put back.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(10));

// Dispatches every message that waits now, timers that are due included.
void PumpPending();

// Removes every waiting message without dispatching it; returns how many.
int DiscardPending();

// Whether a quit message waits in the queue; it stays there.
bool QuitPosted();

// Whether the box shows text under caption, owned by the native window
// `owner` (0: by none), with a stop icon or without one.
::testing::AssertionResult IsBox(const platform::HeadlessDisplay::ShownMessageBox& box, std::string_view text,
                                 std::string_view caption, platform::NativeWindow owner = 0, bool stopIcon = false);

}  // namespace testsupport
