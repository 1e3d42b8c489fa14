// The game's key under HKEY_LOCAL_MACHINE, as its set-up writes it: the
// launcher reads the installed version there, the starter the game folder.
#pragma once

inline constexpr char kGameKey[] = "SOFTWARE\\Veltrano\\Moravine Cht";
inline constexpr char kVersionValue[] = "GameVerSP";
inline constexpr char kInstallPathValue[] = "InstallPath";
