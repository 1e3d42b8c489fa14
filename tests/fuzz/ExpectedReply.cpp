#include "ExpectedReply.h"

#include <algorithm>
#include <climits>

namespace {

bool SameLetters(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
           return lower(x) == lower(y);
         });
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// Whether the last non-empty element of the Transfer-Encoding lists among
// the header lines is "chunked".
bool ChunkedBody(std::string_view headers) {
  bool chunked = false;
  std::size_t start = 0;
  while (start < headers.size()) {
    const std::size_t end = headers.find('\n', start);
    const std::string_view line = headers.substr(start, end - start);
    start = end + 1;
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || !SameLetters(line.substr(0, colon), "transfer-encoding")) {
      continue;
    }
    std::string_view list = line.substr(colon + 1);
    while (true) {
      const std::size_t comma = list.find(',');
      const std::string_view element = Trimmed(list.substr(0, comma));
      if (!element.empty()) {
        chunked = SameLetters(element, "chunked");
      }
      if (comma == std::string_view::npos) {
        break;
      }
      list.remove_prefix(comma + 1);
    }
  }
  return chunked;
}

// The length of the line at the front of text, CR LF included; 0 when text
// holds no CR LF, or a bare LF or a CR without LF comes first.
std::size_t CrLfLine(std::string_view text) {
  const std::size_t end = text.find_first_of("\r\n");
  if (end == std::string_view::npos || end + 1 >= text.size() || text[end] == '\n' || text[end + 1] != '\n') {
    return 0;
  }
  return end + 2;
}

int HexDigit(char c) {
  const std::string_view digits = "0123456789abcdef";
  const std::size_t at = digits.find(c >= 'A' && c <= 'F' ? char(c - 'A' + 'a') : c);
  return at == std::string_view::npos ? -1 : int(at);
}

}  // namespace

ExpectedReply ExpectReply(std::string_view reply, std::size_t sizeLineBound, std::size_t trailerBound) {
  const ExpectedReply failed{};
  const ExpectedReply asSent{std::string(reply)};
  // The head: the status line, then header lines up to an empty one.
  std::size_t bodyStart = reply.find('\n');
  std::size_t headersStart = bodyStart + 1;
  while (bodyStart != std::string_view::npos) {
    const std::size_t lineStart = bodyStart + 1;
    bodyStart = reply.find('\n', lineStart);
    const std::string_view line = reply.substr(lineStart, bodyStart - lineStart);
    if (bodyStart != std::string_view::npos && (line.empty() || line == "\r")) {
      ++bodyStart;
      break;
    }
  }
  if (bodyStart == std::string_view::npos || !ChunkedBody(reply.substr(headersStart, bodyStart - headersStart))) {
    return asSent;
  }

  std::string text(reply.substr(0, bodyStart));
  std::string_view rest = reply.substr(bodyStart);
  for (;;) {
    const std::string_view sizeLine = rest.substr(0, CrLfLine(rest.substr(0, sizeLineBound)));
    if (sizeLine.empty()) {
      return failed;
    }
    long long size = 0;
    std::size_t digits = 0;
    for (; HexDigit(sizeLine[digits]) >= 0; ++digits) {
      size = size * 16 + HexDigit(sizeLine[digits]);
      if (size > INT_MAX) {
        return failed;
      }
    }
    const char after = sizeLine[digits];
    if (digits == 0 || (after != '\r' && after != ';' && after != ' ' && after != '\t')) {
      return failed;
    }
    rest.remove_prefix(sizeLine.size());
    if (size == 0) {
      break;
    }
    const std::size_t length = static_cast<std::size_t>(size);
    if (rest.size() < length + 2 || rest.substr(length, 2) != "\r\n") {
      return failed;
    }
    text += rest.substr(0, length);
    rest.remove_prefix(length + 2);
  }
  // Trailer lines up to the empty line, within their bound.
  const std::string_view trailers = rest.substr(0, trailerBound);
  std::size_t at = 0;
  while (trailers.substr(at, 2) != "\r\n") {
    const std::size_t line = CrLfLine(trailers.substr(at));
    if (line == 0) {
      return failed;
    }
    at += line;
  }
  return {text, true};
}
