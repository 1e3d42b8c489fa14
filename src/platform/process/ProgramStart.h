// Starting another program by name, the way Windows does:
// the file's content, not its name, decides how it runs.
#pragma once

#include <string>
#include <vector>

namespace platform {

// The file a bare program name stands for: the first regular file of that
// name in the launcher's own folder, the current directory, then (Windows) the
// system folder and the Windows folder, then each folder of PATH. A name
// holding a slash (on Windows also a backslash or a colon) is taken as a path
// as it stands. On Windows a name without an extension gets ".exe", as
// CreateProcess gives it. Empty when there is none.
std::string FindProgramFile(const std::string& name);

// How a program file runs: its argument vector, and whether that starts it
// through Wine.
struct ProgramCommand {
  std::vector<std::string> arguments;  // empty when the file cannot be run
  bool throughWine = false;
};

// The command that runs `file`. On Linux an ELF program or a "#!" script with
// the execute bit runs directly, and a Windows program (it starts with "MZ")
// runs as `wine <file>` when wine is on PATH. On Windows only a Windows
// program runs, directly.
ProgramCommand CommandForFile(const std::string& file);

// The argument vector of CommandForFile: empty when the file cannot be run.
inline std::vector<std::string> ProgramArguments(const std::string& file) { return CommandForFile(file).arguments; }

// Starts the program `name` names, followed by `arguments`, with the
// launcher's environment (on Linux as ProgramEnvironment hands it on) and
// current directory and returns at once: true when it started. No handle or
// descriptor beyond the standard three is passed on, and the launcher keeps
// nothing of the program (on Linux it is handed to the system's reaper), so
// it leaves no zombie and outlives the launcher. On Windows the program's
// command line is the name followed by the arguments, each quoted as the C
// runtime reads it back.
bool StartProgram(const std::string& name, const std::vector<std::string>& arguments = {});

}  // namespace platform
