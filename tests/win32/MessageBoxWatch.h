// The message boxes the test thread shows, seen by a timer of the thread
// itself, which goes on ticking inside each box's own message loop.
#pragma once

#include "base/WinTypes.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

class MessageBoxWatch {
 public:
  struct Box {
    std::string caption;
    std::string text;
  };

  // closeWhen is asked at each tick while a box is up: true closes it, as
  // its OK button would.
  explicit MessageBoxWatch(std::function<bool()> closeWhen = [] { return true; });
  ~MessageBoxWatch();
  MessageBoxWatch(const MessageBoxWatch&) = delete;
  MessageBoxWatch& operator=(const MessageBoxWatch&) = delete;

  // Every box shown since the watch began, in order.
  const std::vector<Box>& Boxes() const { return boxes_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  void Look();

  static inline MessageBoxWatch* current_ = nullptr;
  std::function<bool()> closeWhen_;
  std::set<HWND> seen_;
  std::vector<Box> boxes_;
  UINT_PTR timer_ = 0;
};
