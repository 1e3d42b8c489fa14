// Version texts of the game, like "2.0.1.0.3": one digit and one separator
// per component.
#pragma once

inline constexpr int VERSION_COMPONENTS = 5;

// Reads the five components at the offsets 0, 2, 4, 6 and 8 of the text,
// each the way atoi reads a number there (leading blanks, a sign, digits; no
// digits give 0). A two-digit component thus shifts what the later offsets
// read. Offsets at or past the end of the text read 0; the text is never
// read past its terminating zero.
void ParseVersion(const char* text, int* components);

// The weight that orders versions: 100 times the third component, plus ten
// times the fourth, plus the fifth, in 32-bit signed arithmetic. The first
// two components take no part.
int VersionWeight(const int* components);
