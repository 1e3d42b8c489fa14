#include "framework/Resources.h"

HINSTANCE AfxGetInstanceHandle() { return GetModuleHandleA(nullptr); }

std::optional<std::string> LoadHtmlResource(HINSTANCE instance, UINT id) {
  HRSRC found = instance != nullptr ? FindResourceA(instance, MAKEINTRESOURCEA(id), RT_HTML) : nullptr;
  HGLOBAL loaded = found != nullptr ? LoadResource(instance, found) : nullptr;
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (bytes == nullptr) {
    return std::nullopt;
  }
  return std::string(static_cast<const char*>(bytes), SizeofResource(instance, found));
}
