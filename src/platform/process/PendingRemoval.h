// How each system removes the pending files (PendingFiles.h) when the
// program ends.
#pragma once

namespace platform {

// Makes RemovePendingFiles run when the program ends; called once, at the
// first mark.
void InstallPendingRemoval();

// Removes every file still marked. Linux calls it from signal handlers too,
// so it only reads the slots and calls RemoveFileNow.
void RemovePendingFiles();

// Removes one file; on Linux async-signal-safe.
void RemoveFileNow(const char* path);

}  // namespace platform
