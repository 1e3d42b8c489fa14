#include "framework/CWinApp.h"

#include "framework/MessageQueue.h"
#include "framework/ModuleFile.h"

#include <filesystem>

namespace {

CWinApp* g_app = nullptr;

// The program file's name without its extension.
std::string ProgramName() {
  char path[MAX_PATH];
  if (GetModuleFileName(AfxGetInstanceHandle(), path, MAX_PATH) == 0) {
    return "launcher";
  }
  return std::filesystem::path(path).stem().string();
}

}  // namespace

CWinApp::CWinApp(const char* appName) : appName_(appName != nullptr ? appName : ProgramName()) {
  m_pszAppName = appName_.c_str();
  g_app = this;
}

CWinApp::~CWinApp() {
  if (g_app == this) {
    g_app = nullptr;
  }
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::Run() {
  MSG msg;
  while (GetMessage(&msg, nullptr, 0, 0)) {
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  exitCode_ = static_cast<int>(msg.wParam);
  return ExitInstance();
}

int CWinApp::ExitInstance() { return exitCode_; }

CWinApp* AfxGetApp() { return g_app; }

int AfxWinMain() {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) {
    return 1;
  }
  if (!app->InitInstance()) {
    app->ExitInstance();
    return 1;
  }
  return app->Run();
}
