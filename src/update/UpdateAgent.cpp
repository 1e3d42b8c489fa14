#include "update/UpdateAgent.h"

#include <algorithm>

#include "base/NarrowText.h"
#include "framework/MessageBox.h"
#include "platform/registry/Registry.h"
#include "shell/LauncherConstants.h"
#include "update/ReplyText.h"
#include "update/ServerReply.h"
#include "update/VersionText.h"

UpdateAgent::UpdateAgent()
    : m_pInstalledVersion(new int[VERSION_COMPONENTS]),
      m_pLatestVersion(new int[VERSION_COMPONENTS]),
      m_szInstalledVersion{},
      m_nDownloadPercent(0),
      m_szDownloadSite{} {
  std::fill_n(m_pInstalledVersion, VERSION_COMPONENTS, -1);
  std::fill_n(m_pLatestVersion, VERSION_COMPONENTS, -1);
}

UpdateAgent::~UpdateAgent() {
  delete[] m_pInstalledVersion;
  delete[] m_pLatestVersion;
}

bool UpdateAgent::ReadInstalledVersion() {
  HKEY key = nullptr;
  // The game's 32-bit installer wrote the key: it is read in the 32-bit view,
  // which a 64-bit launcher must ask for.
  if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, kGameKey, 0, KEY_READ | KEY_WOW64_32KEY, &key) == ERROR_SUCCESS) {
    DWORD size = sizeof m_szInstalledVersion;
    RegQueryValueEx(key, kVersionValue, nullptr, nullptr, reinterpret_cast<BYTE*>(m_szInstalledVersion), &size);
    RegCloseKey(key);
    // A value of 20 bytes or more arrives cut to the field's size: its last
    // byte becomes the terminator, leaving 19 characters.
    m_szInstalledVersion[sizeof m_szInstalledVersion - 1] = '\0';
  }
  ParseVersion(m_szInstalledVersion, m_pInstalledVersion);
  return true;
}

bool UpdateAgent::QueryLatestVersion(const char* url) {
  const ServerReply reply(url);
  return reply.Text() != nullptr && ReadVersionReply(reply.Text(), m_pLatestVersion);
}

bool UpdateAgent::IsUpdateAvailable() const {
  return VersionWeight(m_pLatestVersion) > VersionWeight(m_pInstalledVersion);
}

bool UpdateAgent::QueryDownloadSite(const char* url) {
  const ServerReply reply(url);
  if (reply.Text() == nullptr) {
    return false;
  }
  switch (ReadSiteReply(reply.Text(), m_szDownloadSite, sizeof m_szDownloadSite)) {
    case SiteReply::SITE:
      return true;
    case SiteReply::NO_DOWNLOADS:
      MessageBox(nullptr, LocaleFromUtf8("無下載點").c_str(), "", MB_OK);
      return false;
    case SiteReply::NO_SITE_KEY:
    case SiteReply::SITE_TOO_LONG:
      return false;
  }
  return false;
}
