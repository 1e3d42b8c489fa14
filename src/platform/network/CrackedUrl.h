// Splitting a download address into what an HTTP request needs, with the
// address made safe to send: it may come from a server's reply, line break
// and all.
#pragma once

#include <string>
#include <string_view>

namespace platform {

struct CrackedUrl {
  // The server's name or address as written ("[...]" kept around IPv6);
  // empty when the address has no "scheme://" part.
  std::string server;
  // The path and query, starting with "/", with every byte that may not
  // stand in a request line escaped as %XX; never holds a blank, CR or LF.
  std::string object;
  // The port the address names, 80 when it names none, 0 when it names one
  // that is not a number from 1 to 65535.
  unsigned port = 80;
};

// Splits url after removing blanks and control characters from both ends.
// The scheme is not examined; a user name and password and a "#" fragment
// are dropped.
CrackedUrl CrackUrl(std::string_view url);

}  // namespace platform
