// Text drawing on a device context: narrow text in the locale's encoding,
// black, in the system font, over or without a background fill.
#pragma once

#include "framework/Gdi.h"

#ifdef _WIN32
// Windows' own DrawTextA and background modes, from <windows.h>. The
// framework's windows draw in the default GUI font: their device context is
// their own (CS_OWNDC) and holds that font from their creation.
#else

// Horizontal placement; left and top are the defaults.
inline constexpr UINT DT_TOP = 0x0000;
inline constexpr UINT DT_LEFT = 0x0000;
inline constexpr UINT DT_RIGHT = 0x0002;
// Vertical centring applies only to single-line drawing, which this
// framework does not offer: the flag is accepted and changes nothing.
inline constexpr UINT DT_VCENTER = 0x0004;

// Background modes: text drawn over a fill of the background colour (white),
// the mode of a fresh context, or straight over what is there.
inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;

// Sets the context's background mode; returns the previous one, 0 on failure.
int SetBkMode(HDC hdc, int mode);
// The context's background mode; 0 for no context.
int GetBkMode(HDC hdc);

// Draws `count` bytes of text (count -1: up to its terminator) inside rect,
// from its top edge down, left-aligned or right-aligned (DT_RIGHT). Lines
// break only at CR and LF; an ampersand underlines the next character and
// "&&" draws one. Everything is clipped to rect and to the context's clip
// region. Bytes that do not convert from the locale's encoding end the text.
// Returns the height of the lines in pixels; 0 when nothing could be drawn.
int DrawTextA(HDC hdc, const char* text, int count, RECT* rect, UINT format);

#endif
