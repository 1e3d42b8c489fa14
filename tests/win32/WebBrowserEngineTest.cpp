// The web browser control in a child window: the host hands a stand-in
// control (a COM class of the test's own, registered in the process) its
// site, asks it to activate in place in the window, gives it the addresses
// as they were asked for, keeps it the size of the window, asks the browser
// host about clicks, and lets go of the control, and of the window, when the
// browser goes; a control that cannot be had leaves no browser and nothing
// behind.
#include "platform/win32/WebBrowserEngine.h"

#include "ControlStubs.h"

#include <mshtmhst.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using Microsoft::WRL::ComPtr;
using platform::WebBrowserEngine;

// {6A1E0B52-3C1D-4F0E-9A57-2B8D4C6E7F10}: the stand-in control's class.
constexpr CLSID kStandInClass = {0x6a1e0b52, 0x3c1d, 0x4f0e, {0x9a, 0x57, 0x2b, 0x8d, 0x4c, 0x6e, 0x7f, 0x10}};
// {6A1E0B52-3C1D-4F0E-9A57-2B8D4C6E7F12}: the stand-in HTML engine's document.
constexpr CLSID kStandInDocument = {0x6a1e0b52, 0x3c1d, 0x4f0e, {0x9a, 0x57, 0x2b, 0x8d, 0x4c, 0x6e, 0x7f, 0x12}};
constexpr CLSID kNoSuchClass = {0x6a1e0b52, 0x3c1d, 0x4f0e, {0x9a, 0x57, 0x2b, 0x8d, 0x4c, 0x6e, 0x7f, 0x11}};
constexpr wchar_t kWindowClass[] = L"MoravineBrowserTestWindow";
constexpr int kWidth = 200;
constexpr int kHeight = 100;

// Where the stand-in fails, when it does.
enum class Fault { kNone, kSiteRefused, kNoBrowserInterface, kActivationRefused };

// What the stand-in controls were asked, in order, and how many live.
struct ControlRecord {
  std::vector<std::string> log;
  Fault fault = Fault::kNone;
  int alive = 0;
  HWND window = nullptr;        // the window the control is to live in
  ComPtr<IOleClientSite> site;  // the site while the control holds it
};
ControlRecord* record = nullptr;

std::string Utf8(const wchar_t* text, int length) {
  std::string utf8(static_cast<std::size_t>(length) * 4, '\0');
  utf8.resize(static_cast<std::size_t>(
      WideCharToMultiByte(CP_UTF8, 0, text, length, utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr)));
  return utf8;
}

std::string Place(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

class StandInControl final : public ControlStubs {
 public:
  StandInControl() { ++record->alive; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleObject) {
      *object = static_cast<IOleObject*>(this);
    } else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject) {
      *object = static_cast<IOleInPlaceObject*>(this);
    } else if ((iid == IID_IDispatch || iid == IID_IWebBrowser || iid == IID_IWebBrowserApp ||
                iid == IID_IWebBrowser2) &&
               record->fault != Fault::kNoBrowserInterface) {
      *object = static_cast<IWebBrowser2*>(this);
    } else {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) {
      record->log.push_back("released");
      --record->alive;
      delete this;
    }
    return left;
  }

  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override {
    record->log.push_back(site != nullptr ? "site" : "no site");
    if (site != nullptr && record->fault == Fault::kSiteRefused) {
      return E_FAIL;
    }
    record->site = site;
    return S_OK;
  }

  // Asks the site what a real control asks before it shows itself.
  HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT place) override {
    record->log.push_back("verb " + std::to_string(verb) +
                          (parent == record->window ? " in the window at " : " elsewhere at ") + Place(*place));
    if (record->fault == Fault::kActivationRefused) {
      return E_FAIL;
    }
    ComPtr<IOleInPlaceSite> inPlace;
    if (site == nullptr || FAILED(site->QueryInterface(IID_PPV_ARGS(&inPlace))) ||
        inPlace->CanInPlaceActivate() != S_OK) {
      return E_UNEXPECTED;
    }
    HWND window = nullptr;
    ComPtr<IOleInPlaceFrame> frame;
    ComPtr<IOleInPlaceUIWindow> document;
    RECT position{};
    RECT clip{};
    OLEINPLACEFRAMEINFO info{};
    info.cb = sizeof info;
    if (FAILED(inPlace->GetWindow(&window)) ||
        FAILED(inPlace->GetWindowContext(&frame, &document, &position, &clip, &info)) || frame == nullptr) {
      return E_UNEXPECTED;
    }
    HWND frameWindow = nullptr;
    frame->GetWindow(&frameWindow);
    record->log.push_back(std::string("context ") + (window == record->window ? "in the window" : "elsewhere") +
                          " at " + Place(position) +
                          (info.hwndFrame == GetAncestor(record->window, GA_ROOT) && frameWindow == record->window
                               ? ", its top-level window the frame"
                               : ", another frame"));
    return inPlace->OnInPlaceActivate();
  }

  HRESULT STDMETHODCALLTYPE Close(DWORD option) override {
    record->log.push_back(option == OLECLOSE_NOSAVE ? "close" : "close and save");
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override {
    record->log.push_back("deactivate");
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT position, LPCRECT clip) override {
    record->log.push_back("place " + Place(*position) + " clip " + Place(*clip));
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Navigate(BSTR address, VARIANT* flags, VARIANT* target, VARIANT* post,
                                     VARIANT* headers) override {
    const bool plain = flags != nullptr && flags->vt == VT_I4 && flags->lVal == 0;
    const auto empty = [](const VARIANT* v) { return v == nullptr || v->vt == VT_EMPTY; };
    record->log.push_back("navigate " + Utf8(address, static_cast<int>(SysStringLen(address))) +
                          (plain && empty(target) && empty(post) && empty(headers) ? "" : " with more"));
    return S_OK;
  }

 private:
  ~StandInControl() = default;
  ULONG references_ = 1;
};

// Makes stand-in controls, or stands in for the HTML engine's document itself.
class StandInFactory final : public IClassFactory {
 public:
  explicit StandInFactory(bool controls) : controls_(controls) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *object = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (outer != nullptr) {
      return CLASS_E_NOAGGREGATION;
    }
    if (!controls_) {
      return QueryInterface(iid, object);
    }
    auto* control = new StandInControl;
    const HRESULT result = static_cast<IOleObject*>(control)->QueryInterface(iid, object);
    static_cast<IOleObject*>(control)->Release();
    return result;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 private:
  bool controls_;
};

// The window around the browser: it answers clicks as the test says.
class Host final : public platform::BrowserHost {
 public:
  platform::MouseAnswer MouseActivate() override {
    ++asked;
    if (whileAsked) {
      whileAsked();
    }
    return answer;
  }
  std::optional<std::string> HtmlResource(unsigned) override { return std::nullopt; }

  platform::MouseAnswer answer;
  int asked = 0;
  std::function<void()> whileAsked;
};

class WebBrowserEngineTest : public testing::Test {
 protected:
  void SetUp() override {
    record = &record_;
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    ASSERT_EQ(CoRegisterClassObject(kStandInClass, &factory_, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie_),
              S_OK);
    ASSERT_EQ(CoRegisterClassObject(kStandInDocument, &documentFactory_, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                    &documentCookie_),
              S_OK);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.lpszClassName = kWindowClass;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    RegisterClassW(&windowClass);
    top_ = CreateWindowExW(0, kWindowClass, L"", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                           windowClass.hInstance, nullptr);
    child_ = CreateWindowExW(0, kWindowClass, L"", WS_CHILD | WS_VISIBLE, 10, 20, kWidth, kHeight, top_, nullptr,
                             windowClass.hInstance, nullptr);
    ASSERT_NE(child_, nullptr);
    record_.window = child_;
    ownProcedure_ = GetWindowLongPtrW(child_, GWLP_WNDPROC);
  }

  void TearDown() override {
    if (top_ != nullptr) {
      DestroyWindow(top_);
    }
    CoRevokeClassObject(cookie_);
    CoRevokeClassObject(documentCookie_);
    OleUninitialize();
    record = nullptr;
  }

  std::unique_ptr<platform::Browser> Make(WebBrowserEngine& engine) {
    return engine.CreateBrowser(reinterpret_cast<platform::NativeWindow>(child_), {0, 0, kWidth, kHeight}, host_);
  }

  ControlRecord record_;
  StandInFactory factory_{true};
  StandInFactory documentFactory_{false};
  DWORD cookie_ = 0;
  DWORD documentCookie_ = 0;
  HWND top_ = nullptr;
  HWND child_ = nullptr;
  LONG_PTR ownProcedure_ = 0;
  Host host_;
};

TEST_F(WebBrowserEngineTest, HostsTheControlNavigatesInOrderAndLetsGoOfItWithTheBrowser) {
  WebBrowserEngine engine(kStandInClass, kStandInDocument);
  auto browser = Make(engine);
  ASSERT_NE(browser, nullptr);
  browser->Navigate("res://C:\\Games\\Launcher.exe/101");
  browser->Navigate("http://127.0.0.1/MRV/loader/SP/index.htm");
  browser->Navigate("C:\\\\default.htm");
  browser->Navigate("D:\\遊戲\\My Games\\default.htm");
  SetWindowPos(child_, nullptr, 0, 0, 300, 150, SWP_NOMOVE | SWP_NOZORDER);
  browser.reset();

  const std::vector<std::string> expected = {
      "site",
      "verb -5 in the window at 0,0,200,100",
      "context in the window at 0,0,200,100, its top-level window the frame",
      "navigate res://C:\\Games\\Launcher.exe/101",
      "navigate http://127.0.0.1/MRV/loader/SP/index.htm",
      "navigate C:\\\\default.htm",
      "navigate D:\\遊戲\\My Games\\default.htm",
      "place 0,0,300,150 clip 0,0,300,150",
      "deactivate",
      "close",
      "no site",
      "released",
  };
  EXPECT_EQ(record_.log, expected);
  EXPECT_EQ(record_.alive, 0);
  EXPECT_EQ(record_.site, nullptr);
  EXPECT_EQ(GetWindowLongPtrW(child_, GWLP_WNDPROC), ownProcedure_) << "the window has its own procedure back";
  EXPECT_TRUE(IsWindow(child_)) << "the window is the display's; the browser leaves it";
}

TEST_F(WebBrowserEngineTest, AControlThatCannotBeHadLeavesNoBrowserAndNothingBehind) {
  const struct {
    const char* name;
    CLSID control;
    CLSID document;
    Fault fault;
    std::vector<std::string> log;
  } cases[] = {
      {"no HTML engine", kStandInClass, kNoSuchClass, Fault::kNone, {}},
      {"no such control", kNoSuchClass, kStandInDocument, Fault::kNone, {}},
      {"site refused", kStandInClass, kStandInDocument, Fault::kSiteRefused, {"site", "no site", "released"}},
      {"no IWebBrowser2", kStandInClass, kStandInDocument, Fault::kNoBrowserInterface, {"site", "no site", "released"}},
      {"activation refused",
       kStandInClass,
       kStandInDocument,
       Fault::kActivationRefused,
       {"site", "verb -5 in the window at 0,0,200,100", "deactivate", "close", "no site", "released"}},
  };
  for (const auto& c : cases) {
    record_.log.clear();
    record_.fault = c.fault;
    WebBrowserEngine engine(c.control, c.document);
    EXPECT_EQ(Make(engine), nullptr) << c.name;
    EXPECT_EQ(record_.log, c.log) << c.name;
    EXPECT_EQ(record_.alive, 0) << c.name;
    EXPECT_EQ(GetWindowLongPtrW(child_, GWLP_WNDPROC), ownProcedure_) << c.name;
  }
}

TEST_F(WebBrowserEngineTest, AClickInTheControlActivatesAsTheHostAnswers) {
  WebBrowserEngine engine(kStandInClass, kStandInDocument);
  auto browser = Make(engine);
  ASSERT_NE(browser, nullptr);
  const struct {
    platform::MouseAnswer answer;
    LRESULT result;
  } cases[] = {
      {{true, false}, MA_ACTIVATE},
      {{true, true}, MA_ACTIVATEANDEAT},
      {{false, false}, MA_NOACTIVATE},
      {{false, true}, MA_NOACTIVATEANDEAT},
  };
  for (const auto& c : cases) {
    host_.answer = c.answer;
    host_.asked = 0;
    EXPECT_EQ(
        SendMessageW(child_, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top_), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
        c.result);
    EXPECT_EQ(host_.asked, 1);
  }
}

TEST_F(WebBrowserEngineTest, TheHostAskingItsOwnWindowGetsTheWindowsOwnAnswer) {
  WebBrowserEngine engine(kStandInClass, kStandInDocument);
  auto browser = Make(engine);
  ASSERT_NE(browser, nullptr);
  LRESULT ownAnswer = 0;
  host_.answer = {false, true};
  host_.whileAsked = [&] {
    ownAnswer =
        SendMessageW(child_, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top_), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
  };
  EXPECT_EQ(
      SendMessageW(child_, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top_), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
      MA_NOACTIVATEANDEAT);
  EXPECT_EQ(host_.asked, 1);
  EXPECT_EQ(ownAnswer, MA_ACTIVATE) << "the default window procedure's answer";
}

TEST_F(WebBrowserEngineTest, AWindowDestroyedFirstLeavesTheBrowserToLetGoOfTheControl) {
  WebBrowserEngine engine(kStandInClass, kStandInDocument);
  auto browser = Make(engine);
  ASSERT_NE(browser, nullptr);
  DestroyWindow(top_);
  top_ = nullptr;
  record_.log.clear();
  browser.reset();
  EXPECT_EQ(record_.log, (std::vector<std::string>{"deactivate", "close", "no site", "released"}));
  EXPECT_EQ(record_.alive, 0);
}

TEST_F(WebBrowserEngineTest, TheDocumentKeepsItsOwnLooksMenuAndKeys) {
  WebBrowserEngine engine(kStandInClass, kStandInDocument);
  auto browser = Make(engine);
  ASSERT_NE(browser, nullptr);
  ComPtr<IDocHostUIHandler> handler;
  ASSERT_EQ(record_.site.As(&handler), S_OK);
  DOCHOSTUIINFO info{};
  info.cbSize = sizeof info;
  info.dwFlags = DOCHOSTUIFLAG_SCROLL_NO;
  ASSERT_EQ(handler->GetHostInfo(&info), S_OK);
  EXPECT_EQ(info.dwFlags, static_cast<DWORD>(DOCHOSTUIFLAG_SCROLL_NO)) << "the record stays as the control passed it";
  EXPECT_EQ(info.pchHostCss, nullptr);

  POINT at{5, 5};
  EXPECT_EQ(handler->ShowContextMenu(CONTEXT_MENU_DEFAULT, &at, nullptr, nullptr), S_FALSE);
  MSG key{child_, WM_KEYDOWN, VK_TAB, 0, 0, {}};
  EXPECT_EQ(handler->TranslateAccelerator(&key, nullptr, 0), S_FALSE);
  IDispatch* external = reinterpret_cast<IDispatch*>(1);
  EXPECT_EQ(handler->GetExternal(&external), S_FALSE);
  EXPECT_EQ(external, nullptr) << "scripts find no external object";
}

// The control's in-place object as the control hands it to the frame: takes
// the keys in `handled`, and notes every key offered.
class KeyTaker final : public IOleInPlaceActiveObject {
 public:
  explicit KeyTaker(std::vector<WPARAM> handled) : handled_(std::move(handled)) {}
  std::vector<WPARAM> offered;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid != IID_IUnknown && iid != IID_IOleWindow && iid != IID_IOleInPlaceActiveObject) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<IOleInPlaceActiveObject*>(this);
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetWindow(HWND*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* message) override {
    offered.push_back(message->wParam);
    return std::ranges::find(handled_, message->wParam) != handled_.end() ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }

 private:
  std::vector<WPARAM> handled_;
};

TEST_F(WebBrowserEngineTest, KeysAimedAtTheControlAreOfferedToItFirstAndThoseItTakesGoNoFurther) {
  WebBrowserEngine engine(kStandInClass, kStandInDocument);
  auto browser = Make(engine);
  ASSERT_NE(browser, nullptr);
  ComPtr<IOleInPlaceFrame> frame;
  ASSERT_EQ(record_.site.As(&frame), S_OK);
  KeyTaker taker({VK_TAB});
  ASSERT_EQ(frame->SetActiveObject(&taker, nullptr), S_OK);
  HWND inside = CreateWindowExW(0, kWindowClass, L"", WS_CHILD, 0, 0, 10, 10, child_, nullptr, nullptr, nullptr);
  ASSERT_NE(inside, nullptr);
  for (const HWND target : {child_, inside, top_}) {
    PostMessageW(target, WM_KEYDOWN, VK_TAB, 0);
    PostMessageW(target, WM_KEYDOWN, 'A', 0);
  }
  std::vector<WPARAM> delivered;
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_KEYDOWN) delivered.push_back(message.wParam);
    DispatchMessageW(&message);
  }
  // The browser's window and the control's windows in it; never the window around them.
  EXPECT_EQ(taker.offered, (std::vector<WPARAM>{VK_TAB, 'A', VK_TAB, 'A'}));
  EXPECT_EQ(delivered, (std::vector<WPARAM>{'A', 'A', VK_TAB, 'A'}));
  EXPECT_EQ(frame->SetActiveObject(nullptr, nullptr), S_OK);
  DestroyWindow(inside);
}

TEST_F(WebBrowserEngineTest, NoWindowOrNoOleOnTheThreadMeansNoBrowser) {
  WebBrowserEngine engine(kStandInClass, kStandInDocument);
  EXPECT_EQ(engine.CreateBrowser(0, {0, 0, kWidth, kHeight}, host_), nullptr);
  DestroyWindow(top_);
  top_ = nullptr;
  EXPECT_EQ(Make(engine), nullptr) << "a window that is gone";
  EXPECT_TRUE(record_.log.empty());

  std::unique_ptr<platform::Browser> fromOtherThread;
  std::thread([&] {
    // A thread of the multithreaded apartment cannot run OLE.
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    HWND window = CreateWindowExW(0, kWindowClass, L"", WS_OVERLAPPEDWINDOW, 0, 0, kWidth, kHeight, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    {
      WebBrowserEngine other(kStandInClass, kStandInDocument);
      fromOtherThread =
          other.CreateBrowser(reinterpret_cast<platform::NativeWindow>(window), {0, 0, kWidth, kHeight}, host_);
    }
    DestroyWindow(window);
    CoUninitialize();
  }).join();
  EXPECT_EQ(fromOtherThread, nullptr);
  EXPECT_TRUE(record_.log.empty());
}

// Wine here runs without its HTML engine (mshtml is switched off).
TEST_F(WebBrowserEngineTest, TheSystemsControlWithoutItsHtmlEngineGivesNoBrowser) {
  WebBrowserEngine engine;
  EXPECT_EQ(Make(engine), nullptr);
  EXPECT_EQ(GetWindowLongPtrW(child_, GWLP_WNDPROC), ownProcedure_);
}

}  // namespace
