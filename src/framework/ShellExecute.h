// The shell's verbs: handing an address, a document or a program to the
// desktop. Whatever is started is left to run; nothing waits for it.
#pragma once

#include "base/WinTypes.h"

#ifdef _WIN32
#include <shellapi.h>

// Windows' own ShellExecuteA, from <shellapi.h>.
#else

using INT_PTR = std::intptr_t;

inline constexpr int SW_SHOWNORMAL = 1;

// Results of 32 and below are failures.
inline constexpr INT_PTR SE_ERR_FNF = 2;           // the file or program was not found
inline constexpr INT_PTR SE_ERR_ACCESSDENIED = 5;  // a handler was found but could not be started
inline constexpr INT_PTR ERROR_BAD_FORMAT = 11;    // the program found is not one that can run
inline constexpr INT_PTR SE_ERR_NOASSOC = 31;      // nothing handles it, or the verb is unknown

// operation "open" (or null): with parameters, `file` names a program,
// searched for as RunProgram searches, and started with the parameters as its
// one argument; without, an address goes to the default handler of its
// scheme and a document (relative names against the current directory) to
// the default application for its content type. operation "explore": the
// desktop's file manager is started with `file`. Returns a value above 32
// once something has started. The owner, the directory (the launcher passes
// none) and showCmd do not change what is started; the desktop decides how
// the handler shows itself, and no message box is ever shown.
INT_PTR ShellExecute(HWND owner, const char* operation, const char* file, const char* parameters, const char* directory,
                     int showCmd);

#endif
