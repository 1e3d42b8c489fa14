// The launcher started on a headless display, its window destroyed at the end.
#pragma once

#include "app/LauncherApp.h"
#include "framework/WindowRecord.h"
#include "shell/LauncherWindow.h"
#include "support/Headless.h"

#include <gtest/gtest.h>

namespace testsupport {

struct RunningLauncher {
  RunningLauncher() = default;
  ~RunningLauncher() {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
  }
  RunningLauncher(const RunningLauncher&) = delete;
  RunningLauncher& operator=(const RunningLauncher&) = delete;

  void Start() {
    ASSERT_TRUE(app.InitInstance());
    window = static_cast<LauncherWindow*>(app.m_pMainWnd);
    hwnd = window->m_hWnd;
  }
  // Runs until the start-up timer has handed over to the status timer.
  bool UntilStatusTimer() {
    return PumpUntil([&] { return window->m_nTimer == IDT_STATUS; });
  }
  int State(int id) const { return window->m_buttons.GetAt(id - 1)->m_nState; }

  HeadlessSession session;
  LauncherApp app;
  LauncherWindow* window = nullptr;
  HWND hwnd = nullptr;
};

}  // namespace testsupport
