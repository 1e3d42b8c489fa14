// Windows paths of a Wine prefix as the Unix paths Wine serves them from.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

// Maps an absolute drive path ("C:\Program Files\...", either slash, any
// case of the drive letter) to the Unix path behind it: the drive's link in
// the prefix's dosdevices folder ("c:"), then each name as Wine finds it: the
// exact name when it exists, else an entry of the folder whose name differs
// only in case. Names found neither way are kept as written, so the result
// may not exist. Empty for texts that are not an absolute drive path (UNC
// paths, relative paths).
std::optional<std::filesystem::path> UnixPathOf(const std::filesystem::path& prefix, std::string_view windowsPath);
