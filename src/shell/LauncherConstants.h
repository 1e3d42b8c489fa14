// The launcher's fixed values: its timers, the files of the game folder, and
// the buttons' places and faces. The game's registry key is in
// base/GameKey.h, which the starter shares.
#pragma once

#include "base/GameKey.h"
#include "base/ResourceIds.h"
#include "base/WinTypes.h"

// The launcher window's timers and their periods in ms.
inline constexpr UINT_PTR IDT_STARTUP = 1;   // once: the start page, then the status timer
inline constexpr UINT_PTR IDT_STATUS = 2;    // the status lines
inline constexpr UINT_PTR IDT_DOWNLOAD = 3;  // one step of a patch download, while one runs
inline constexpr UINT kStartupPeriodMs = 0;
inline constexpr UINT kStatusPeriodMs = 100;
inline constexpr UINT kDownloadPeriodMs = 10;

inline constexpr UINT IDC_WEBPANEL = 12345;

// The commands: the buttons' ids, from the left.
inline constexpr int ID_PLAY = 1;
inline constexpr int ID_ONLINE_UPDATE = 2;
inline constexpr int ID_SIGN_UP = 3;
inline constexpr int ID_README = 4;
inline constexpr int ID_JOYSTICK_SETUP = 5;
inline constexpr int ID_RECRUITMENT = 6;
inline constexpr int ID_LEAVE = 7;

// Files of the game folder, the launcher's current directory.
inline constexpr char kGameProgram[] = "MRVSP.dat";
inline constexpr char kJoystickSetupProgram[] = "MRVJoyStickSetup.dat";
inline constexpr char kReadmeFile[] = "readmeSP.txt";
inline constexpr char kLocalStartPage[] = "default.htm";
inline constexpr char kPatchFile[] = "MRVPatch.exe";
// Where a patch is written until it is whole.
inline constexpr char kPatchPartFile[] = "MRVPatch.exe.part";

// The status lines and the web panel, in client pixels.
inline constexpr RECT kVersionTextRect{7, 430, 157, 445};
inline constexpr RECT kProgressTextRect{480, 430, 630, 445};
inline constexpr RECT kWebPanelRect{7, 86, 632, 427};

// A button's place and its faces (bitmap ids) in each state.
struct ButtonLayout {
  int id;
  int x;
  int normal;
  int hover;
  int pressed;
  int disabled;
};
// Left to right, all 89 by 30 at y 446.
inline constexpr ButtonLayout kButtons[] = {
    {ID_PLAY, 5, 52, 53, 53, 54},     {ID_ONLINE_UPDATE, 95, 55, 56, 56, 57},   {ID_SIGN_UP, 185, 58, 59, 59, 58},
    {ID_README, 275, 61, 62, 62, 61}, {ID_JOYSTICK_SETUP, 365, 64, 65, 65, 66}, {ID_RECRUITMENT, 455, 67, 68, 68, 67},
    {ID_LEAVE, 545, 70, 71, 71, 70},
};
inline constexpr int kButtonTop = 446;
inline constexpr int kButtonWidth = 89;
inline constexpr int kButtonHeight = 30;
