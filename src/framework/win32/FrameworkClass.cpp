#include "framework/win32/FrameworkClass.h"
#include "framework/WindowClass.h"

#include <cstdio>
#include <set>
#include <string>

namespace {

constexpr char kPlainClassName[] = "MoravineWindow";

// Registers a class once; its name stays valid for the program's life.
const char* RegisterOnce(const std::string& name, UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
  static std::set<std::string> registered;
  const auto [it, added] = registered.insert(name);
  if (added) {
    WNDCLASSA settings{};
    settings.style = classStyle | kFrameworkClassStyle;
    settings.lpfnWndProc = &FrameworkClassProcedure;
    settings.hInstance = GetModuleHandleA(nullptr);
    settings.hIcon = icon;
    settings.hCursor = cursor;
    settings.hbrBackground = background;
    settings.lpszClassName = it->c_str();
    if (RegisterClassA(&settings) == 0) {
      registered.erase(it);
      return nullptr;
    }
  }
  return it->c_str();
}

}  // namespace

const char* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
  char name[96];
  std::snprintf(name, sizeof name, "Afx:%x:%p:%p:%p", classStyle, static_cast<void*>(cursor),
                static_cast<void*>(background), static_cast<void*>(icon));
  return RegisterOnce(name, classStyle, cursor, background, icon);
}

const char* PlainWindowClass() {
  return RegisterOnce(kPlainClassName, 0, LoadCursorA(nullptr, IDC_ARROW), nullptr, nullptr);
}
