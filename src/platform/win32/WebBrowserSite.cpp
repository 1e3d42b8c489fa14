#include "platform/win32/WebBrowserSite.h"

#include <cassert>

namespace platform {

WebBrowserSite::WebBrowserSite(HWND window) : window_(window) { assert(window_ != nullptr); }

HRESULT WebBrowserSite::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) {
    return E_POINTER;
  }
  if (iid == IID_IUnknown || iid == IID_IOleClientSite) {
    *object = static_cast<IOleClientSite*>(this);
  } else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite) {
    *object = static_cast<IOleInPlaceSite*>(this);
  } else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame) {
    *object = static_cast<IOleInPlaceFrame*>(this);
  } else if (iid == IID_IDocHostUIHandler) {
    *object = static_cast<IDocHostUIHandler*>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG WebBrowserSite::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG WebBrowserSite::Release() {
  const LONG left = InterlockedDecrement(&references_);
  assert(left >= 0);
  if (left == 0) {
    delete this;
  }
  return static_cast<ULONG>(left);
}

HRESULT WebBrowserSite::SaveObject() { return E_NOTIMPL; }

HRESULT WebBrowserSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker != nullptr) {
    *moniker = nullptr;
  }
  return E_NOTIMPL;
}

HRESULT WebBrowserSite::GetContainer(IOleContainer** container) {
  if (container != nullptr) {
    *container = nullptr;
  }
  return E_NOINTERFACE;
}

HRESULT WebBrowserSite::ShowObject() { return S_OK; }
HRESULT WebBrowserSite::OnShowWindow(BOOL) { return S_OK; }
HRESULT WebBrowserSite::RequestNewObjectLayout() { return E_NOTIMPL; }

HRESULT WebBrowserSite::GetWindow(HWND* window) {
  if (window == nullptr) {
    return E_POINTER;
  }
  *window = window_;
  return S_OK;
}

HRESULT WebBrowserSite::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

HRESULT WebBrowserSite::CanInPlaceActivate() { return S_OK; }
HRESULT WebBrowserSite::OnInPlaceActivate() { return S_OK; }
HRESULT WebBrowserSite::OnUIActivate() { return S_OK; }

HRESULT WebBrowserSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, RECT* position,
                                         RECT* clip, OLEINPLACEFRAMEINFO* info) {
  if (frame == nullptr || document == nullptr || position == nullptr || clip == nullptr || info == nullptr) {
    return E_POINTER;
  }
  RECT client{};
  if (!GetClientRect(window_, &client)) {
    *frame = nullptr;
    *document = nullptr;
    return HRESULT_FROM_WIN32(GetLastError());
  }
  *frame = this;
  AddRef();
  *document = nullptr;
  *position = client;
  *clip = client;
  // The caller has set the record's size.
  info->fMDIApp = FALSE;
  info->hwndFrame = GetAncestor(window_, GA_ROOT);
  info->haccel = nullptr;
  info->cAccelEntries = 0;
  return S_OK;
}

HRESULT WebBrowserSite::Scroll(SIZE) { return E_NOTIMPL; }
HRESULT WebBrowserSite::OnUIDeactivate(BOOL) { return S_OK; }

HRESULT WebBrowserSite::OnInPlaceDeactivate() {
  activeObject_.Reset();
  return S_OK;
}

HRESULT WebBrowserSite::DiscardUndoState() { return E_NOTIMPL; }
HRESULT WebBrowserSite::DeactivateAndUndo() { return E_NOTIMPL; }
// The control fills the window, whatever place it asks for.
HRESULT WebBrowserSite::OnPosRectChange(const RECT*) { return S_OK; }

// The frame is a plain window: no tool space, no menus.
HRESULT WebBrowserSite::GetBorder(RECT*) { return INPLACE_E_NOTOOLSPACE; }
HRESULT WebBrowserSite::RequestBorderSpace(const BORDERWIDTHS*) { return INPLACE_E_NOTOOLSPACE; }
HRESULT WebBrowserSite::SetBorderSpace(const BORDERWIDTHS*) { return OLE_E_INVALIDRECT; }

HRESULT WebBrowserSite::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) {
  activeObject_ = object;
  return S_OK;
}

HRESULT WebBrowserSite::InsertMenus(HMENU, OLEMENUGROUPWIDTHS*) { return E_NOTIMPL; }
HRESULT WebBrowserSite::SetMenu(HMENU, HOLEMENU, HWND) { return S_OK; }
HRESULT WebBrowserSite::RemoveMenus(HMENU) { return E_NOTIMPL; }
// Status texts are shown nowhere.
HRESULT WebBrowserSite::SetStatusText(LPCOLESTR) { return S_OK; }
HRESULT WebBrowserSite::EnableModeless(BOOL) { return S_OK; }
HRESULT WebBrowserSite::TranslateAccelerator(MSG*, WORD) { return S_FALSE; }

// S_FALSE: the control shows its own menu.
HRESULT WebBrowserSite::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) { return S_FALSE; }

// The record is left as the control passed it: the control's own border,
// scroll bars and behaviour.
HRESULT WebBrowserSite::GetHostInfo(DOCHOSTUIINFO* info) { return info == nullptr ? E_POINTER : S_OK; }

// S_FALSE: the control shows its own user interface.
HRESULT WebBrowserSite::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                               IOleInPlaceUIWindow*) {
  return S_FALSE;
}

HRESULT WebBrowserSite::HideUI() { return S_OK; }
HRESULT WebBrowserSite::UpdateUI() { return S_OK; }
HRESULT WebBrowserSite::OnDocWindowActivate(BOOL) { return S_OK; }
HRESULT WebBrowserSite::OnFrameWindowActivate(BOOL) { return S_OK; }
HRESULT WebBrowserSite::ResizeBorder(const RECT*, IOleInPlaceUIWindow*, BOOL) { return S_OK; }
// S_FALSE: the control takes the key itself.
HRESULT WebBrowserSite::TranslateAccelerator(MSG*, const GUID*, DWORD) { return S_FALSE; }

HRESULT WebBrowserSite::GetOptionKeyPath(LPOLESTR* key, DWORD) {
  if (key != nullptr) {
    *key = nullptr;
  }
  return S_FALSE;
}

HRESULT WebBrowserSite::GetDropTarget(IDropTarget*, IDropTarget** replacement) {
  if (replacement != nullptr) {
    *replacement = nullptr;
  }
  return S_FALSE;
}

HRESULT WebBrowserSite::GetExternal(IDispatch** external) {
  if (external != nullptr) {
    *external = nullptr;
  }
  return S_FALSE;
}

HRESULT WebBrowserSite::TranslateUrl(DWORD, LPWSTR, LPWSTR* translated) {
  if (translated != nullptr) {
    *translated = nullptr;
  }
  return S_FALSE;
}

HRESULT WebBrowserSite::FilterDataObject(IDataObject*, IDataObject** filtered) {
  if (filtered != nullptr) {
    *filtered = nullptr;
  }
  return S_FALSE;
}

}  // namespace platform
