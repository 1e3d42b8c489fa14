// The application object: one per program, it starts the program's window
// and runs the message loop.
#pragma once

#include "base/WinTypes.h"

#include <string>

class CWnd;

class CWinApp {
 public:
  // Without a name, the application's name is the program file's name
  // without its extension.
  explicit CWinApp(const char* appName = nullptr);
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  // Creates the main window; FALSE ends the program before the message loop.
  virtual BOOL InitInstance();
  // The message loop; returns the quit message's exit code.
  virtual int Run();
  virtual int ExitInstance();

  CWnd* m_pMainWnd = nullptr;
  const char* m_pszAppName = nullptr;

 private:
  std::string appName_;
  int exitCode_ = 0;
};

// The one application object, or null.
CWinApp* AfxGetApp();
// The program's entry: InitInstance, the message loop, ExitInstance. Returns
// the exit status: 1 when InitInstance failed.
int AfxWinMain();
