// Files the program is still writing, which must not outlive it unfinished:
// each is removed if the program ends before the file is kept, at a normal
// exit (both systems) and when SIGTERM, SIGINT or SIGHUP ends it (Linux). A
// file left behind by SIGKILL, TerminateProcess, the end of the session or a
// power cut stays; whoever writes it next replaces it.
#pragma once

#include <string>

namespace platform {

// Marks the file at `path` (absolute) as pending. The first mark installs the
// removal at exit and, on Linux, on those signals (a signal the program
// ignores stays ignored). False when the path is too long or too many files are pending.
bool MarkFilePending(const std::string& path);

// The file at `path` is kept, or already gone: it is no longer removed.
void UnmarkFilePending(const std::string& path);

}  // namespace platform
