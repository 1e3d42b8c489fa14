// The patch download's part in the launcher window's life.
#pragma once

class LauncherWindow;

// Ends a download that is still under way without finishing it: the part of
// the patch written so far is removed (an earlier "MRVPatch.exe" stays as it
// was), the transfer and its objects are released, and m_bDownloading is
// false. Nothing is started and nothing is shown.
void ReleasePatchDownload(LauncherWindow& window);
