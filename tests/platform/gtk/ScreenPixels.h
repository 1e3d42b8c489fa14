// Reading what the X server shows, over a connection of the test's own.
#pragma once

#include <cstdint>
#include <vector>

// The 0x00RRGGBB pixels of a screen rectangle, rows top to bottom; empty
// when the screen cannot be read.
std::vector<std::uint32_t> ReadScreen(int x, int y, int width, int height);
