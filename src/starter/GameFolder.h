// Where Moravine is installed: the folder that the game's set-up recorded in
// the Wine prefix's machine registry, as a Unix path.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

struct GameFolderLookup {
  // The game folder; set when it exists.
  std::optional<std::filesystem::path> folder;
  // Otherwise why it was not found, as one sentence for the player.
  std::string problem;
};

// Reads the value InstallPath of HKEY_LOCAL_MACHINE\SOFTWARE\Veltrano\Moravine
// Cht in the prefix ($WINEPREFIX, else ~/.wine) and maps it through the
// prefix's dosdevices. The lookup is the launcher's own registry reader, so a
// 64-bit prefix's Wow6432Node is searched first, as for the launcher.
GameFolderLookup FindGameFolder();
