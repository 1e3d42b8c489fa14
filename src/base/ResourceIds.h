// The program's resources by id: the string table, the pictures, the built-in
// page and the icon. Plain macros, as a resource script reads them too.
#pragma once

// Strings of the launcher.
#define IDS_TITLE 1                // the window's title
#define IDS_UP_TO_DATE 2           // the installed version is the newest
#define IDS_NOT_CONNECTED 3        // no network: the update stops
#define IDS_DOWNLOAD_INCOMPLETE 4  // the download is incomplete; run the update again
#define IDS_VERSION_PREFIX 5       // before the installed version
#define IDS_PROGRESS_PREFIX 6      // before the download's percentage
#define IDS_PLAY_FAILED 7          // the game could not be started
#define IDS_CAPTION_GOOD_NEWS 8    // caption of the up-to-date notice
#define IDS_CAPTION_TROUBLE 9      // caption of the failure notices
// The framework's text for a failure that brings none of its own.
#define AFX_IDP_INTERNAL_FAILURE 61704

// The 640 by 480 background; the buttons' faces are 52 to 72, three or four
// a button (see the launcher's button table).
#define IDB_BACKGROUND 51

// The blank page the web panel shows first.
#define IDR_HTML_BLANK 101

// The window's icon.
#define IDI_LAUNCHER 7
