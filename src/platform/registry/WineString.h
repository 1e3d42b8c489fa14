// The quoted texts of Wine's registry files: key paths in [...] and value
// names and string values in "...".
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Decodes the escaped text at the start of text up to the first unescaped
// end character, giving UTF-8. Raw bytes are taken as UTF-8; \xN to \xNNNN
// are UTF-16 code units (surrogate pairs joined), \N to \NNN octal, \a \b \e
// \f \n \r \t \v the control characters, and a backslash before any other
// character stands for that character. *used receives the number of bytes up
// to the end character. Empty when the end character never comes.
std::optional<std::string> DecodeWineString(std::string_view text, char end, std::size_t* used);
