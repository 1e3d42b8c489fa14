// The program's built-in pages as a browser engine without a res scheme of
// its own serves them (WebKitGTK, the headless engine).
#pragma once

#include "platform/ui/Browser.h"

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// What a res URI serves: the host's built-in page it names, when it names one
// of this program's own; nothing otherwise. Never reads a file.
std::optional<std::string> ResourcePage(std::string_view uri, BrowserHost& host);

}  // namespace platform
