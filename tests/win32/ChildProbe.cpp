// A program the Windows tests start. With no option it writes a report into
// its current directory: its own file (as ProgramFilePath gives it), its
// current directory, its process id and its arguments, a line each, the file
// renamed into place whole. With --pending PATH keep|leave it marks PATH
// pending, creates it, keeps it or leaves it marked, and exits.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "ProbeReport.h"
#include "platform/process/PendingFiles.h"
#include "platform/process/ProgramFile.h"

namespace {

int Report(int argc, char** argv) {
  char folder[MAX_PATH] = {};
  if (GetCurrentDirectoryA(MAX_PATH, folder) == 0) return 1;
  {
    std::ofstream out(kProbeReportPart, std::ios::binary);
    out << platform::ProgramFilePath().value_or("?") << '\n' << folder << '\n' << GetCurrentProcessId() << '\n';
    for (int i = 1; i < argc; ++i) out << argv[i] << '\n';
    if (!out.flush()) return 1;
  }
  return MoveFileExA(kProbeReportPart, kProbeReport, MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}

int Pending(const std::string& path, const std::string& mode) {
  if (!platform::MarkFilePending(path)) return 2;
  if (!std::ofstream(path, std::ios::binary).write("part", 4)) return 3;
  if (mode == "keep") platform::UnmarkFilePending(path);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == kPendingOption) return Pending(argv[2], argv[3]);
  return Report(argc, argv);
}
