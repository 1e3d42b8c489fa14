// Narrow (8-bit) texts in the locale's encoding, as the launcher keeps all its texts.
//
// The locale's encoding is the one setlocale(LC_ALL, "") selected; the C/POSIX
// locale counts as UTF-8, since its 7-bit texts are UTF-8 too and the display
// and the files all speak UTF-8. Searches step over multibyte characters as
// whole characters, so a trail byte of one character never matches.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Converts UTF-8 to the locale's narrow encoding; characters the encoding
// cannot hold become '?'; an invalid UTF-8 sequence ends the text.
std::string LocaleFromUtf8(std::string_view utf8);
// Converts a narrow text in the locale's encoding to UTF-8 for display, as
// far as it is valid: an invalid or cut-off character ends it.
std::string Utf8FromLocale(std::string_view narrow);
// The same conversions without stand-ins: nothing when a character has no
// equivalent or the text is not valid in its encoding.
std::optional<std::string> LocaleFromUtf8Exact(std::string_view utf8);
std::optional<std::string> Utf8FromLocaleExact(std::string_view narrow);

// Length in bytes of the character that starts at text (at least 1, for a
// byte that starts no valid character); 0 at the terminating zero.
int CharLength(const char* text);
// First occurrence of the single-byte character ch, stepping by whole characters.
const char* MbsChr(const char* text, char ch);
// First occurrence of needle, tried only at character starts; case must match.
const char* MbsStr(const char* text, const char* needle);
