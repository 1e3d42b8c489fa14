// The running program's own file.
#pragma once

#include <optional>
#include <string>

namespace platform {

// The full path of the program's file, in UTF-8; nothing when it cannot be read.
std::optional<std::string> ProgramFilePath();

}  // namespace platform
