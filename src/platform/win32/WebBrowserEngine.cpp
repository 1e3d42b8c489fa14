#include "platform/win32/WebBrowserEngine.h"

#include "platform/win32/WebBrowser.h"

#include <exdisp.h>
#include <ole2.h>
#include <wrl/client.h>

#include <cstdio>

namespace platform {
namespace {

// CLSID_HTMLDocument, {25336920-03F9-11CF-8FD0-00AA00686F13}: the HTML
// engine's document, which the control shows every page in.
constexpr CLSID kHtmlDocumentClass = {0x25336920, 0x03f9, 0x11cf, {0x8f, 0xd0, 0x00, 0xaa, 0x00, 0x68, 0x6f, 0x13}};

void ReportFailure(const char* what, HRESULT result) {
  std::fprintf(stderr, "web browser control: %s (0x%08lx)\n", what, static_cast<unsigned long>(result));
}

}  // namespace

WebBrowserEngine::WebBrowserEngine() : WebBrowserEngine(CLSID_WebBrowser, kHtmlDocumentClass) {}

WebBrowserEngine::WebBrowserEngine(const CLSID& control, const CLSID& document)
    : control_(control), document_(document) {}

WebBrowserEngine::~WebBrowserEngine() {
  if (ole_ == Ole::kStarted) {
    OleUninitialize();
  }
}

bool WebBrowserEngine::Start() {
  if (ole_ != Ole::kNotStarted) {
    return ole_ == Ole::kStarted && engineFound_;
  }
  // S_FALSE: OLE ran on the thread already; it is ended as often as started.
  const HRESULT started = OleInitialize(nullptr);
  if (FAILED(started)) {
    ole_ = Ole::kFailed;
    ReportFailure("OLE cannot start", started);
    return false;
  }
  ole_ = Ole::kStarted;
  Microsoft::WRL::ComPtr<IUnknown> document;
  const HRESULT found = CoCreateInstance(document_, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&document));
  engineFound_ = SUCCEEDED(found);
  if (!engineFound_) {
    ReportFailure("there is no HTML engine", found);
  }
  return engineFound_;
}

std::unique_ptr<Browser> WebBrowserEngine::CreateBrowser(NativeWindow window, ScreenRect rect, BrowserHost& host) {
  const HWND hwnd = reinterpret_cast<HWND>(window);
  if (hwnd == nullptr || !IsWindow(hwnd) || !Start()) {
    return nullptr;
  }
  return MakeWebBrowser(control_, hwnd, {rect.left, rect.top, rect.right, rect.bottom}, host);
}

}  // namespace platform
