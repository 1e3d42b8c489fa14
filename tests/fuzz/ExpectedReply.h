// What the HTTP engine must hand back for a reply the server sent, worked out
// over the whole reply at once, apart from the engine's own reading as the
// bytes come: the oracle of the reply target.
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct ExpectedReply {
  // The reply itself, or, when its headers say the body is chunked, the
  // status line and headers followed by the decoded body. None when the
  // chunked framing is malformed, cut short, or too long.
  std::optional<std::string> text;
  // Whether a chunked body's own framing ended the reply, so that what the
  // connection does after it makes no difference.
  bool endedByFraming = false;
};

// sizeLineBound and trailerBound: the longest size line and trailer section
// accepted, line ends included.
ExpectedReply ExpectReply(std::string_view reply, std::size_t sizeLineBound, std::size_t trailerBound);
