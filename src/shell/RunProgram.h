// Starting another program: the game, the joystick set-up program and the
// downloaded patch all go through here.
#pragma once

#include "base/WinTypes.h"

// Starts the program named by commandLine, a bare file name in the locale's
// encoding that serves as the whole command line. TRUE once it has started;
// the launcher neither waits for it nor keeps a handle. FALSE when it could
// not be started, after telling the player in a message box.
BOOL RunProgram(const char* commandLine);
