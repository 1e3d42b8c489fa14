// A text as DrawTextA shows it: lines broken only at carriage returns and
// line feeds, with ampersands read as mnemonic prefixes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct TextLine {
  std::string text;  // UTF-8, without the prefix ampersands
  // Byte ranges [first, second) of text to underline: the characters that
  // followed a single ampersand.
  std::vector<std::pair<std::size_t, std::size_t>> underlined;
};

// Splits UTF-8 text into lines: CR LF, a lone CR and a lone LF each end one.
// An ampersand is not shown and underlines the character after it; "&&"
// shows one ampersand; an ampersand before a line end or the text's end
// shows nothing.
std::vector<TextLine> SplitTextLines(std::string_view utf8);
