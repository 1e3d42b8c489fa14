// A window whose timers' ticks are counted and fail on request, for the
// tests of how a failing handler is reported, on both systems.
#pragma once

#include "framework/CWnd.h"
#include "framework/Internet.h"

#include <map>
#include <new>
#include <string>

// Each timer's tick fails with the text it is given ("" runs through, "no
// memory" is a failed allocation) and is counted either way.
class TickingWindow : public CWnd {
 public:
  std::map<UINT_PTR, std::string> failure;
  std::map<UINT_PTR, int> ticks;
  bool killOnFailure = false;

 protected:
  const MessageMap* GetMessageMap() const override {
    static const MessageMap map{CWnd::GetThisMessageMap(), {msgmap::Timer(&TickingWindow::OnTimer)}};
    return &map;
  }
  void OnTimer(UINT_PTR id) {
    ++ticks[id];
    const std::string& text = failure[id];
    if (killOnFailure && !text.empty()) KillTimer(id);
    if (text == "no memory") throw std::bad_alloc();
    if (!text.empty()) throw CInternetException(text.c_str());
  }
};
