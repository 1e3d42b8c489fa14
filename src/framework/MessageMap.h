// Message maps: each window class binds message ids to member handlers and
// names its base class's map, which is searched next.
#pragma once

#include "base/WinTypes.h"
#include "framework/Window.h"

#include <functional>
#include <initializer_list>
#include <vector>

class CWnd;

struct MessageMapEntry {
  UINT message;
  std::function<LRESULT(CWnd&, WPARAM, LPARAM)> handler;
};

struct MessageMap {
  MessageMap(const MessageMap* baseMap, std::initializer_list<MessageMapEntry> list) : base(baseMap), entries(list) {}
  const MessageMap* base;
  std::vector<MessageMapEntry> entries;
};

// Entries for the messages the framework cracks, by handler shape.
namespace msgmap {

// A handler with no arguments and no result.
template <class T>
MessageMapEntry Plain(UINT message, void (T::*handler)()) {
  return {message, [handler](CWnd& w, WPARAM, LPARAM) -> LRESULT {
            (static_cast<T&>(w).*handler)();
            return 0;
          }};
}

// A mouse handler: key flags and the client point.
template <class T>
MessageMapEntry Mouse(UINT message, void (T::*handler)(UINT, POINT)) {
  return {message, [handler](CWnd& w, WPARAM wp, LPARAM lp) -> LRESULT {
            (static_cast<T&>(w).*handler)(static_cast<UINT>(wp), POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            return 0;
          }};
}

template <class T>
MessageMapEntry Create(int (T::*handler)(CREATESTRUCT*)) {
  return {WM_CREATE, [handler](CWnd& w, WPARAM, LPARAM lp) -> LRESULT {
            return (static_cast<T&>(w).*handler)(reinterpret_cast<CREATESTRUCT*>(lp));
          }};
}

template <class T>
MessageMapEntry Paint(void (T::*handler)()) {
  return Plain(WM_PAINT, handler);
}

template <class T>
MessageMapEntry Destroy(void (T::*handler)()) {
  return Plain(WM_DESTROY, handler);
}

template <class T>
MessageMapEntry NcDestroy(void (T::*handler)()) {
  return Plain(WM_NCDESTROY, handler);
}

template <class T>
MessageMapEntry Close(void (T::*handler)()) {
  return Plain(WM_CLOSE, handler);
}

template <class T>
MessageMapEntry Timer(void (T::*handler)(UINT_PTR)) {
  return {WM_TIMER, [handler](CWnd& w, WPARAM wp, LPARAM) -> LRESULT {
            (static_cast<T&>(w).*handler)(static_cast<UINT_PTR>(wp));
            return 0;
          }};
}

template <class T>
MessageMapEntry MouseMove(void (T::*handler)(UINT, POINT)) {
  return Mouse(WM_MOUSEMOVE, handler);
}

template <class T>
MessageMapEntry LButtonDown(void (T::*handler)(UINT, POINT)) {
  return Mouse(WM_LBUTTONDOWN, handler);
}

// Any message, with its raw parameters.
template <class T>
MessageMapEntry Message(UINT message, LRESULT (T::*handler)(WPARAM, LPARAM)) {
  return {message,
          [handler](CWnd& w, WPARAM wp, LPARAM lp) -> LRESULT { return (static_cast<T&>(w).*handler)(wp, lp); }};
}

}  // namespace msgmap
