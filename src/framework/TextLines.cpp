#include "framework/TextLines.h"

#include <algorithm>

namespace {

// Bytes of the UTF-8 character whose lead byte is `lead`.
std::size_t Utf8Length(unsigned char lead) {
  if (lead >= 0xF0) {
    return 4;
  }
  if (lead >= 0xE0) {
    return 3;
  }
  if (lead >= 0xC0) {
    return 2;
  }
  return 1;
}

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

}  // namespace

std::vector<TextLine> SplitTextLines(std::string_view utf8) {
  std::vector<TextLine> lines(1);
  std::size_t i = 0;
  while (i < utf8.size()) {
    const char c = utf8[i];
    if (IsLineEnd(c)) {
      i += c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n' ? 2 : 1;
      lines.emplace_back();
      continue;
    }
    TextLine& line = lines.back();
    if (c != '&') {
      const std::size_t n = std::min(Utf8Length(static_cast<unsigned char>(c)), utf8.size() - i);
      line.text.append(utf8.substr(i, n));
      i += n;
      continue;
    }
    ++i;
    if (i == utf8.size() || IsLineEnd(utf8[i])) {
      continue;
    }
    if (utf8[i] == '&') {
      line.text += '&';
      ++i;
      continue;
    }
    const std::size_t n = std::min(Utf8Length(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
    line.underlined.emplace_back(line.text.size(), line.text.size() + n);
    line.text.append(utf8.substr(i, n));
    i += n;
  }
  return lines;
}
