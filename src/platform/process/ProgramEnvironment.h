// The environment a started program gets from the launcher.
#pragma once

#include <string>
#include <vector>

namespace platform {

// The environment, as NAME=value entries, of a program started with the
// launcher's `environment`: the same entries, and for a program run through
// Wine, WINEDEBUG=-all at the end unless the player set WINEDEBUG (to any
// value, empty included), so that Wine's diagnostics stay out of the
// launcher's terminal.
std::vector<std::string> ProgramEnvironment(const std::vector<std::string>& environment, bool throughWine);

// The launcher's own environment, as NAME=value entries.
std::vector<std::string> OwnEnvironment();

}  // namespace platform
