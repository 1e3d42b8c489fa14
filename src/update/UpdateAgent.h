// What the launcher knows of the game's versions: the installed one, from
// the registry, and the current one and the patch's address, from the update
// server; and how far the patch download has come.
#pragma once

class UpdateAgent {
 public:
  UpdateAgent();
  virtual ~UpdateAgent();

  UpdateAgent(const UpdateAgent&) = delete;
  UpdateAgent& operator=(const UpdateAgent&) = delete;

  // Reads the registry value GameVerSP of the key
  // HKEY_LOCAL_MACHINE\SOFTWARE\Veltrano\Moravine Cht into
  // m_szInstalledVersion and its components into m_pInstalledVersion. A
  // missing key or value leaves the text as it was. Always true.
  bool ReadInstalledVersion();

  // Asks the update server for the current version and, when the reply
  // names one, stores its components in m_pLatestVersion.
  bool QueryLatestVersion(const char* url);

  // True when the current version weighs more than the installed one.
  bool IsUpdateAvailable() const;

  // Asks the update server where the patch lies and, when the reply names a
  // site that fits, stores it in m_szDownloadSite. A server that has no
  // download says so in a message box.
  bool QueryDownloadSite(const char* url);

  // The patch's address from the last successful download-site query.
  const char* GetDownloadSite() const { return m_szDownloadSite; }

  // Components of the installed version; -1s until first read.
  int* m_pInstalledVersion;
  // Components of the current version; -1s until a version query succeeds.
  int* m_pLatestVersion;
  // The installed version as the registry holds it, always zero-terminated.
  char m_szInstalledVersion[20];
  // Percentage of the patch downloaded so far.
  int m_nDownloadPercent;
  // The patch's address, zero-terminated.
  char m_szDownloadSite[1024];
};
