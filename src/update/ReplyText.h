// What the update server's replies carry. A reply is the raw response,
// status line and header lines included; keys are looked for in all of it,
// up to its first zero byte, at character starts of the locale's encoding
// and with letter case as given. The first occurrence counts.
#pragma once

#include <cstddef>

// Reads the version that follows "MRVVERSION" into components (see
// ParseVersion). False, with components untouched, when the key is absent.
bool ReadVersionReply(const char* reply, int* components);

enum class SiteReply {
  SITE,           // the site was copied
  NO_DOWNLOADS,   // the server says "NO_AVAILABLE_DOWNLOADS"
  NO_SITE_KEY,    // no "MRVDOWNLOADSITEKEY=" in the reply
  SITE_TOO_LONG,  // the site does not fit the capacity
};

// Copies what follows "MRVDOWNLOADSITEKEY=" up to the first CR or LF, or to
// the end of the reply, into site as a zero-terminated text; blanks are kept
// (the URL's splitting drops them at its ends). "NO_AVAILABLE_DOWNLOADS"
// anywhere in the reply wins over the key. site is written only for SITE: a
// site that would need more than capacity bytes is refused whole, never cut.
SiteReply ReadSiteReply(const char* reply, char* site, std::size_t capacity);
