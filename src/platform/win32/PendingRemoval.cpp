// Windows: pending files go at a normal exit. The launcher is a window
// program, so no console control event ends it; a file left by the end of
// the session or TerminateProcess is replaced by the next download.
// (FILE_FLAG_DELETE_ON_CLOSE would not do: the finished file is kept by
// renaming it, which that flag forbids.)
#include "platform/process/PendingRemoval.h"

#include <windows.h>

#include <cstdlib>

namespace platform {

void InstallPendingRemoval() { std::atexit(RemovePendingFiles); }

// A file already gone needs nothing more; any other failure leaves it for
// the next download to replace, as nothing can be reported at exit.
void RemoveFileNow(const char* path) { DeleteFileA(path); }

}  // namespace platform
