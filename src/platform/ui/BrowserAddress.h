// The addresses the browser is given: a page's address as the program writes
// it, and the program's built-in pages under the res scheme.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The address the browser is given for an address (UTF-8). On Linux an
// absolute file path becomes a file URI, escaped, with a doubled leading
// separator read as one ("//default.htm" is "/default.htm"); on Windows the
// web browser control takes a path as it is ("C:\\default.htm" included) and
// names the file itself. Anything else is an address already and stays as it
// is. Nothing when a path cannot be named by a URI.
std::optional<std::string> BrowserUri(std::string_view address);

// The id of the built-in page that a "res://<path>/<id>" URI names, when
// <path> (escaped as in a URI) is `programPath` (UTF-8) and <id> a decimal
// number; nothing otherwise.
std::optional<unsigned> ResourcePageId(std::string_view uri, std::string_view programPath);

// Whether the browser may go to `uri` (a page or a frame in it). A local
// file only when it is the one the program asked for (`askedFor`), or when
// the program asked for a local page, the page shown now (`shownPage`) lies
// in that page's folder or below it, and so does `uri`: the game's own page
// reaches its own files, nothing else reaches a local file. Any other
// address, the built-in pages included (they hold nothing but themselves),
// may be visited.
bool MayVisit(std::string_view uri, std::string_view askedFor, std::string_view shownPage);

// Where a page that a page asks to open in a new window goes.
enum class NewWindowPlace {
  kNowhere,             // dropped: no address the desktop should be handed
  kOwnWindow,           // a blank page, which its opener fills: a window of the program's own
  kDesktop,             // the desktop's handler of the address (mail), or nowhere when none starts
  kDesktopOrOwnWindow,  // the desktop's web browser, or a window of the program's own when none starts
};
// Only web pages and mail addresses are handed to the desktop; a local file
// or any other scheme opens nowhere.
NewWindowPlace NewWindowPlaceOf(std::string_view uri);

}  // namespace platform
