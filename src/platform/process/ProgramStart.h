// Starting another program by name, the way Windows does:
// the file's content, not its name, decides how it runs.
#pragma once

#include <string>
#include <vector>

namespace platform {

// The file a bare program name stands for: the first regular file of that
// name in the launcher's own folder, the current directory, then each folder
// of PATH. A name holding a slash is taken as a path as it stands. Empty when
// there is none.
std::string FindProgramFile(const std::string& name);

// How a program file runs: its argument vector, and whether that starts it
// through Wine.
struct ProgramCommand {
  std::vector<std::string> arguments;  // empty when the file cannot be run
  bool throughWine = false;
};

// The command that runs `file`: an ELF program or a "#!" script with the
// execute bit runs directly; a Windows program (it starts with "MZ") runs as
// `wine <file>` when wine is on PATH.
ProgramCommand CommandForFile(const std::string& file);

// The argument vector of CommandForFile: empty when the file cannot be run.
std::vector<std::string> ProgramArguments(const std::string& file);

// Starts the program `name` names, followed by `arguments`, with the
// launcher's environment (as ProgramEnvironment hands it on) and current
// directory and returns at once: true when it started. No descriptor beyond
// the standard three is passed on, and the program is handed to the system's
// reaper, so it leaves no zombie and outlives the launcher.
bool StartProgram(const std::string& name, const std::vector<std::string>& arguments = {});

}  // namespace platform
