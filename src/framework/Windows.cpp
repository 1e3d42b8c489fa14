#include "framework/DisplayBinding.h"
#include "framework/GdiObjects.h"
#include "framework/Region.h"
#include "framework/Window.h"
#include "framework/WindowRecord.h"

#include <algorithm>
#include <cassert>
#include <memory>
#include <vector>

namespace {

std::vector<std::unique_ptr<WindowRecord>>& AllWindows() {
  static std::vector<std::unique_ptr<WindowRecord>> windows;
  return windows;
}

platform::ScreenRect ToScreenRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

RECT ClientRect(const WindowRecord& w) { return RECT{0, 0, w.rect.Width(), w.rect.Height()}; }

HDC MakeWindowDC(HWND hwnd) {
  auto* dc = new DeviceContext;
  dc->surface = hwnd->backing.get();
  dc->window = hwnd;
  return dc;
}

// Shows on the screen what a context drew into the window's backing store
// and changed there, and nothing else of it.
void PresentDrawing(HWND hwnd, const DeviceContext& dc) {
  platform::Display* display = CurrentDisplay();
  if (display != nullptr && hwnd->native != 0) {
    for (const RECT& drawn : dc.drawn.Rects()) {
      if (dc.before.Changed(*dc.surface, drawn)) {
        display->Present(hwnd->native, ToScreenRect(drawn));
      }
    }
  }
}

}  // namespace

HWND CreateWindowRecord(CREATESTRUCT& create, const std::vector<unsigned char>& iconPng, WNDPROC proc,
                        LONG_PTR userData) {
  platform::Display* display = CurrentDisplay();
  if (display == nullptr) {
    return nullptr;
  }
  const bool child = (create.style & WS_CHILD) != 0;
  if (child && !IsWindow(create.hwndParent)) {
    return nullptr;
  }
  auto record = std::make_unique<WindowRecord>();
  record->proc = proc;
  record->userData = userData;
  record->parent = child ? create.hwndParent : nullptr;
  record->style = create.style;
  record->exStyle = create.dwExStyle;
  record->id = create.hMenu;
  record->rect = RECT{create.x, create.y, create.x + create.cx, create.y + create.cy};
  record->title = create.lpszName != nullptr ? create.lpszName : "";
  record->iconPng = iconPng;
  HWND hwnd = record.get();
  if (child) {
    record->native = display->CreateChild(create.hwndParent->native, hwnd, ToScreenRect(record->rect));
  } else {
    record->backing = std::make_unique<platform::Surface>(create.cx, create.cy);
    record->native = display->CreateTopLevel(hwnd, record->title, record->backing.get());
    if (record->native != 0 && !iconPng.empty()) {
      display->SetIcon(record->native, iconPng);
    }
  }
  if (record->native == 0) {
    return nullptr;
  }
  if (child) {
    create.hwndParent->children.push_back(hwnd);
  }
  AllWindows().push_back(std::move(record));
  return hwnd;
}

void RemoveWindowRecord(HWND hwnd) {
  auto& windows = AllWindows();
  [[maybe_unused]] const auto removed =
      std::erase_if(windows, [hwnd](const std::unique_ptr<WindowRecord>& w) { return w.get() == hwnd; });
  assert(removed == 1 && "a window ends once");
}

LRESULT CallWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  assert(IsWindow(hwnd) && "a window's procedure is called only while the window lives");
  return hwnd->proc(hwnd, message, wParam, lParam);
}

LONG_PTR GetWindowLongPtr(HWND hwnd, int index) {
  if (!IsWindow(hwnd)) {
    return 0;
  }
  switch (index) {
    case GWLP_WNDPROC:
      return reinterpret_cast<LONG_PTR>(hwnd->proc);
    case GWLP_USERDATA:
      return hwnd->userData;
    default:
      return 0;
  }
}

LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value) {
  const LONG_PTR old = GetWindowLongPtr(hwnd, index);
  if (IsWindow(hwnd) && index == GWLP_WNDPROC && value != 0) {
    hwnd->proc = reinterpret_cast<WNDPROC>(value);
  } else if (IsWindow(hwnd) && index == GWLP_USERDATA) {
    hwnd->userData = value;
  }
  return old;
}

BOOL IsWindow(HWND hwnd) {
  if (hwnd == nullptr) {
    return FALSE;
  }
  const auto& windows = AllWindows();
  return std::any_of(windows.begin(), windows.end(),
                     [hwnd](const std::unique_ptr<WindowRecord>& w) { return w.get() == hwnd; })
             ? TRUE
             : FALSE;
}

HWND NextWindowToPaint() {
  for (const auto& w : AllWindows()) {
    if (w->visible && !w->destroying && w->backing != nullptr && !w->update.IsEmpty()) {
      return w.get();
    }
  }
  return nullptr;
}

const platform::Surface* GetBackingStore(HWND hwnd) { return IsWindow(hwnd) ? hwnd->backing.get() : nullptr; }

BOOL ShowWindow(HWND hwnd, int) {
  if (!IsWindow(hwnd)) {
    return FALSE;
  }
  if (hwnd->visible) {
    return TRUE;
  }
  hwnd->visible = true;
  hwnd->style |= WS_VISIBLE;
  if (platform::Display* display = CurrentDisplay()) {
    display->Show(hwnd->native);
  }
  if (hwnd->backing != nullptr) {
    InvalidateRect(hwnd, nullptr, FALSE);
  }
  return FALSE;
}

BOOL UpdateWindow(HWND hwnd) {
  if (!IsWindow(hwnd)) {
    return FALSE;
  }
  if (hwnd->visible && !hwnd->update.IsEmpty()) {
    CallWindowProcedure(hwnd, WM_PAINT, 0, 0);
  }
  return TRUE;
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  if (!IsWindow(hwnd)) {
    return FALSE;
  }
  platform::Display* display = CurrentDisplay();
  RECT& r = hwnd->rect;
  const RECT before = r;
  if ((flags & SWP_NOMOVE) == 0) {
    r = RECT{x, y, x + r.Width(), y + r.Height()};
  }
  if ((flags & SWP_NOSIZE) == 0) {
    r.right = r.left + std::max(cx, 0);
    r.bottom = r.top + std::max(cy, 0);
  }
  const bool resized = r.Width() != before.Width() || r.Height() != before.Height();
  if (resized && hwnd->backing != nullptr) {
    hwnd->backing->Resize(r.Width(), r.Height());
    hwnd->update.Clear();
    InvalidateRect(hwnd, nullptr, FALSE);
  }
  if (display != nullptr && !(r == before)) {
    display->SetPlacement(hwnd->native, ToScreenRect(r));
  }
  if ((flags & SWP_NOZORDER) == 0 && insertAfter == HWND_NOTOPMOST && display != nullptr) {
    display->SetKeepAbove(hwnd->native, false);
  }
  return TRUE;
}

BOOL GetWindowRect(HWND hwnd, RECT* rect) {
  if (!IsWindow(hwnd)) {
    return FALSE;
  }
  *rect = hwnd->rect;
  return TRUE;
}

DWORD GetWindowStyle(HWND hwnd) { return IsWindow(hwnd) ? hwnd->style : 0; }
DWORD GetWindowExStyle(HWND hwnd) { return IsWindow(hwnd) ? hwnd->exStyle : 0; }
HWND GetParent(HWND hwnd) { return IsWindow(hwnd) ? hwnd->parent : nullptr; }

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL) {
  if (!IsWindow(hwnd)) {
    return FALSE;
  }
  RECT area = ClientRect(*hwnd);
  if (rect != nullptr && !IntersectRect(&area, area, *rect)) {
    return TRUE;
  }
  hwnd->update.Add(area);
  return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
  if (!IsWindow(hwnd)) {
    return FALSE;
  }
  if (rect == nullptr) {
    hwnd->update.Clear();
  } else {
    hwnd->update.Subtract(*rect);
  }
  return TRUE;
}

HDC GetDC(HWND hwnd) {
  if (!IsWindow(hwnd) || hwnd->backing == nullptr) {
    return nullptr;
  }
  return MakeWindowDC(hwnd);
}

int ReleaseDC(HWND hwnd, HDC hdc) {
  if (hdc == nullptr) {
    return 0;
  }
  if (IsWindow(hwnd) && hdc->window == hwnd) {
    PresentDrawing(hwnd, *hdc);
  }
  delete hdc;
  return 1;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint) {
  *paint = PAINTSTRUCT{};
  if (!IsWindow(hwnd) || hwnd->backing == nullptr) {
    return nullptr;
  }
  HDC dc = MakeWindowDC(hwnd);
  dc->clipped = true;
  dc->clip = hwnd->update;
  dc->before.Take(*dc->surface, dc->clip.Bounds());
  hwnd->update.Clear();
  paint->hdc = dc;
  paint->rcPaint = dc->clip.Bounds();
  return dc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint) {
  ReleaseDC(hwnd, paint->hdc);
  return TRUE;
}

BOOL SystemParametersInfo(UINT action, UINT, void* param, UINT) {
  platform::Display* display = CurrentDisplay();
  if (action != SPI_GETWORKAREA || display == nullptr || param == nullptr) {
    return FALSE;
  }
  const platform::ScreenRect area = display->WorkArea();
  *static_cast<RECT*>(param) = RECT{area.left, area.top, area.right, area.bottom};
  return TRUE;
}

BOOL AdjustWindowRectEx(RECT* rect, DWORD, BOOL, DWORD) { return rect != nullptr ? TRUE : FALSE; }
