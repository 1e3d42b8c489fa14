// The program's resources, compiled into it: bitmaps, the string table, the
// built-in pages and the icon, each by numeric id.
#pragma once

#include "base/WinTypes.h"
#include "framework/Gdi.h"

#include <optional>
#include <string>
#include <vector>

#ifdef _WIN32
// Windows' own LoadBitmapA, LoadStringA and LoadIconA, from <windows.h>; the
// framework adds the module handle and the built-in pages.

// The program's own resource module.
HINSTANCE AfxGetInstanceHandle();
// The bytes of HTML resource `id` (type RT_HTML), as they were compiled in;
// nothing when absent.
std::optional<std::string> LoadHtmlResource(HINSTANCE instance, UINT id);
#else

struct ResourceModule;
using HINSTANCE = const ResourceModule*;

struct IconResource {
  std::vector<unsigned char> png;
};
using HICON = const IconResource*;

// A resource named by its number, as Windows' resource functions take it.
inline const char* MAKEINTRESOURCE(UINT id) {
  return reinterpret_cast<const char*>(static_cast<std::uintptr_t>(id & 0xFFFF));
}

// The program's own resource module.
HINSTANCE AfxGetInstanceHandle();

// A new bitmap from resource `name` (MAKEINTRESOURCE of its id); null when there is none or it cannot be
// decoded. The caller deletes it with DeleteObject. Bitmaps of one resource
// share its decoded picture until one of them is drawn into.
HBITMAP LoadBitmap(HINSTANCE instance, const char* name);
// String `id` of the table in the locale's narrow encoding, cut to fit
// bufferMax bytes with its terminator. Returns its length; 0 when absent.
int LoadString(HINSTANCE instance, UINT id, char* buffer, int bufferMax);
// Icon `name` (MAKEINTRESOURCE of its id); it lives as long as the program.
// Null when absent.
HICON LoadIcon(HINSTANCE instance, const char* name);
// The bytes of HTML resource `id`, as they were compiled in; nothing when absent.
std::optional<std::string> LoadHtmlResource(HINSTANCE instance, UINT id);

#endif
