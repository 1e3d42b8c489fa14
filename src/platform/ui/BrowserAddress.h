// The addresses the browser is given: a page's address as the program writes
// it, and the program's built-in pages under the res scheme.
#pragma once

#include "platform/ui/Browser.h"

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The URI for an address (UTF-8): an absolute file path becomes a file URI,
// escaped, with a doubled leading separator read as one ("//default.htm" is
// "/default.htm"); anything else is an address already and stays as it is.
// Nothing when a path cannot be named by a URI.
std::optional<std::string> BrowserUri(std::string_view address);

// The id of the built-in page that a "res://<path>/<id>" URI names, when
// <path> (escaped as in a URI) is `programPath` (UTF-8) and <id> a decimal
// number; nothing otherwise.
std::optional<unsigned> ResourcePageId(std::string_view uri, std::string_view programPath);

// What a res URI serves: the host's built-in page it names, when it names one
// of this program's own; nothing otherwise. Never reads a file.
std::optional<std::string> ResourcePage(std::string_view uri, BrowserHost& host);

// Whether the browser may go to `uri`: a local file only when it is the one
// the program asked for (`askedFor`); any other address, the built-in pages
// included (they hold nothing but themselves), may be visited.
bool MayVisit(std::string_view uri, std::string_view askedFor);

}  // namespace platform
