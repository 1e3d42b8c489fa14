#include "framework/WindowClass.h"

#include <cstdio>
#include <map>
#include <string>

namespace {

std::map<std::string, WindowClass>& Classes() {
  static std::map<std::string, WindowClass> classes;
  return classes;
}

}  // namespace

HCURSOR LoadCursor(HINSTANCE, UINT) { return nullptr; }

const char* AfxRegisterWndClass(UINT classStyle, HCURSOR, HBRUSH, HICON icon) {
  char name[64];
  std::snprintf(name, sizeof name, "Afx:%x:%p", classStyle, static_cast<const void*>(icon));
  auto [it, inserted] = Classes().try_emplace(name);
  if (inserted && icon != nullptr) {
    it->second.iconPng = icon->png;
  }
  return it->first.c_str();
}

const WindowClass& FindWindowClass(const char* name) {
  static const WindowClass plain;
  if (name == nullptr) {
    return plain;
  }
  const auto it = Classes().find(name);
  return it != Classes().end() ? it->second : plain;
}
