#include "platform/win32/WebBrowser.h"

#include "platform/win32/WebBrowserSite.h"

#include <exdisp.h>
#include <oleauto.h>

#include <cassert>
#include <cstdio>
#include <string>

namespace platform {
namespace {

using Microsoft::WRL::ComPtr;

// The window property that leads from the window to the browser in it.
constexpr wchar_t kBrowserProperty[] = L"moravine.web-browser";

// The thread's hook on the messages it takes, shared by its browsers.
struct KeyHook {
  HHOOK hook = nullptr;
  int users = 0;
};
thread_local KeyHook keyHook;

void ReportFailure(const char* what, HRESULT result) {
  std::fprintf(stderr, "web browser control: %s failed (0x%08lx)\n", what, static_cast<unsigned long>(result));
}

LRESULT MouseActivateAnswer(MouseAnswer answer) {
  if (answer.activate) {
    return answer.eat ? MA_ACTIVATEANDEAT : MA_ACTIVATE;
  }
  return answer.eat ? MA_NOACTIVATEANDEAT : MA_NOACTIVATE;
}

// A UTF-8 text as a BSTR; null when it is not UTF-8 or memory runs out.
BSTR Utf8Bstr(const std::string& text) {
  if (text.empty()) {
    return SysAllocStringLen(L"", 0);
  }
  const int length =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (length == 0) {
    return nullptr;
  }
  BSTR wide = SysAllocStringLen(nullptr, static_cast<UINT>(length));
  if (wide != nullptr) {
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), wide, length);
  }
  return wide;
}

class WebBrowser final : public Browser {
 public:
  WebBrowser(HWND window, BrowserHost& host) : window_(window), host_(host) {
    site_.Attach(new WebBrowserSite(window));
  }

  ~WebBrowser() override {
    Unhook();
    if (browser_ != nullptr) {
      // The control's window leaves ours before the control lets go of the site.
      ComPtr<IOleInPlaceObject> inPlace;
      if (SUCCEEDED(object_.As(&inPlace))) {
        Check("leaving the window", inPlace->InPlaceDeactivate());
      }
      Check("closing", object_->Close(OLECLOSE_NOSAVE));
    }
    if (object_ != nullptr) {
      Check("letting go of its site", object_->SetClientSite(nullptr));
    }
  }

  WebBrowser(const WebBrowser&) = delete;
  WebBrowser& operator=(const WebBrowser&) = delete;

  // Makes the control and shows it in the window at `rect`; false when it cannot be had.
  bool Start(const CLSID& control, const RECT& rect) {
    if (!Check("making the control",
               CoCreateInstance(control, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&object_))) ||
        !Check("setting its site", object_->SetClientSite(site_.Get()))) {
      return false;
    }
    ComPtr<IWebBrowser2> browser;
    if (!Check("asking for IWebBrowser2", object_.As(&browser))) {
      return false;
    }
    browser_ = browser;
    if (!Hook()) {
      return false;
    }
    RECT place = rect;
    return Check("activating it in place",
                 object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.Get(), 0, window_, &place));
  }

  void Navigate(const std::string& uri) override {
    BSTR address = Utf8Bstr(uri);
    if (address == nullptr) {
      ReportFailure("reading the address as UTF-8", E_INVALIDARG);
      return;
    }
    VARIANT flags;
    VariantInit(&flags);
    flags.vt = VT_I4;
    flags.lVal = 0;
    VARIANT none;
    VariantInit(&none);
    Check("navigating", browser_->Navigate(address, &flags, &none, &none, &none));
    SysFreeString(address);
  }

 private:
  static bool Check(const char* what, HRESULT result) {
    if (FAILED(result)) {
      ReportFailure(what, result);
      return false;
    }
    return true;
  }

  // The window's messages come here first, then to its own procedure.
  bool Hook() {
    if (!SetPropW(window_, kBrowserProperty, this)) {
      ReportFailure("marking the window", HRESULT_FROM_WIN32(GetLastError()));
      return false;
    }
    SetLastError(ERROR_SUCCESS);
    const LONG_PTR previous = SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure));
    if (previous == 0 && GetLastError() != ERROR_SUCCESS) {
      ReportFailure("watching the window", HRESULT_FROM_WIN32(GetLastError()));
      RemovePropW(window_, kBrowserProperty);
      return false;
    }
    previous_ = reinterpret_cast<WNDPROC>(previous);
    if (keyHook.users++ == 0) {
      keyHook.hook = SetWindowsHookExW(WH_GETMESSAGE, &OfferKey, nullptr, GetCurrentThreadId());
      if (keyHook.hook == nullptr) {
        ReportFailure("watching the keys", HRESULT_FROM_WIN32(GetLastError()));
      }
    }
    return true;
  }

  void Unhook() {
    if (previous_ == nullptr) {
      return;
    }
    [[maybe_unused]] const LONG_PTR ours =
        SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    assert(ours == reinterpret_cast<LONG_PTR>(&Procedure) && "nothing else took over the window's messages");
    RemovePropW(window_, kBrowserProperty);
    previous_ = nullptr;
    assert(keyHook.users > 0);
    if (--keyHook.users == 0 && keyHook.hook != nullptr) {
      UnhookWindowsHookEx(keyHook.hook);
      keyHook.hook = nullptr;
    }
  }

  // A keystroke aimed at a browser's window or the control's own windows in
  // it is offered, as the thread takes it, to the control's in-place object
  // first; one it handles (tabbing between links, copying, scrolling) goes
  // no further.
  static LRESULT CALLBACK OfferKey(int code, WPARAM removing, LPARAM lParam) {
    auto* message = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && removing == PM_REMOVE && message->message >= WM_KEYFIRST &&
        message->message <= WM_KEYLAST) {
      for (HWND window = message->hwnd; window != nullptr; window = GetParent(window)) {
        if (const auto* self = static_cast<const WebBrowser*>(GetPropW(window, kBrowserProperty))) {
          IOleInPlaceActiveObject* active = self->site_->ActiveObject();
          if (active != nullptr && active->TranslateAccelerator(message) == S_OK) {
            message->message = WM_NULL;
          }
          break;
        }
      }
    }
    return CallNextHookEx(nullptr, code, removing, lParam);
  }

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<WebBrowser*>(GetPropW(window, kBrowserProperty));
    assert(self != nullptr && self->window_ == window);
    const WNDPROC previous = self->previous_;
    switch (message) {
      case WM_MOUSEACTIVATE:
        // The host may ask the window itself; that question goes on as usual.
        if (!self->askingHost_) {
          self->askingHost_ = true;
          const MouseAnswer answer = self->host_.MouseActivate();
          self->askingHost_ = false;
          return MouseActivateAnswer(answer);
        }
        break;
      case WM_SIZE:
        self->Fit();
        break;
      case WM_NCDESTROY:
        self->Unhook();
        break;
      default:
        break;
    }
    return CallWindowProcW(previous, window, message, wParam, lParam);
  }

  // The control fills the window's client area.
  void Fit() {
    RECT client{};
    ComPtr<IOleInPlaceObject> inPlace;
    if (GetClientRect(window_, &client) && SUCCEEDED(object_.As(&inPlace))) {
      Check("placing it", inPlace->SetObjectRects(&client, &client));
    }
  }

  HWND window_;
  BrowserHost& host_;
  ComPtr<WebBrowserSite> site_;
  ComPtr<IOleObject> object_;
  ComPtr<IWebBrowser2> browser_;  // set once the control is made
  WNDPROC previous_ = nullptr;    // the window's own procedure, while ours comes first
  bool askingHost_ = false;       // a click's question is with the host
};

}  // namespace

std::unique_ptr<Browser> MakeWebBrowser(const CLSID& control, HWND window, const RECT& rect, BrowserHost& host) {
  auto browser = std::make_unique<WebBrowser>(window, host);
  if (!browser->Start(control, rect)) {
    return nullptr;
  }
  return browser;
}

}  // namespace platform
