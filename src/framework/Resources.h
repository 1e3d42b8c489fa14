// The program's resources, compiled into it: bitmaps, the string table, the
// built-in pages and the icon, each by numeric id.
#pragma once

#include "base/WinTypes.h"
#include "framework/Gdi.h"

#include <optional>
#include <string>
#include <vector>

struct ResourceModule;
using HINSTANCE = const ResourceModule*;

struct IconResource {
  std::vector<unsigned char> png;
};
using HICON = const IconResource*;

// The program's own resource module.
HINSTANCE AfxGetInstanceHandle();

// A new bitmap from resource `id`; null when there is none or it cannot be
// decoded. The caller deletes it with DeleteObject. Bitmaps of one resource
// share its decoded pixels until one of them is drawn into.
HBITMAP LoadBitmap(HINSTANCE instance, UINT id);
// String `id` of the table in the locale's narrow encoding, cut to fit
// bufferMax bytes with its terminator. Returns its length; 0 when absent.
int LoadString(HINSTANCE instance, UINT id, char* buffer, int bufferMax);
// Icon `id`; it lives as long as the program. Null when absent.
HICON LoadIcon(HINSTANCE instance, UINT id);
// The bytes of HTML resource `id`, as they were compiled in; nothing when absent.
std::optional<std::string> LoadHtmlResource(HINSTANCE instance, UINT id);
