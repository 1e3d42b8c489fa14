// The machine registry of the Wine prefix the game is installed in: the file
// system.reg in $WINEPREFIX, or in ~/.wine when WINEPREFIX is unset.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <ctime>
#include <memory>
#include <string>

#include "platform/registry/FolderWatch.h"
#include "platform/registry/Hive.h"

// The Wine prefix's folder, and where its machine registry file lies, as
// the environment says now.
std::string MachinePrefixFolder();
std::string MachineRegistryPath();
inline constexpr char kRegistryFileName[] = "/system.reg";

// The largest machine registry file that is read. Real ones hold a few
// megabytes; a larger file is taken as no registry at all.
inline constexpr off_t kMaxRegistryFileSize = off_t{64} << 20;

// Keeps the last parse of the machine registry file. The launcher reads the
// installed version ten times a second from a file of several megabytes, so
// the file is looked at only when its folder reports a change, and parsed
// again only when it has changed: another path, inode, size or modification
// time (to the nanosecond).
class MachineHive {
 public:
  // The registry as the file holds it now; null when there is no file, or
  // it is no regular file, larger than kMaxRegistryFileSize or unreadable.
  // Never waits for the file and never reads more than the bound.
  std::shared_ptr<const Hive> Current();

  // How many times the file has been parsed.
  int ParseCount() const { return parses_; }

 private:
  struct FileIdentity {
    std::string path;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::timespec modified{};

    bool operator==(const FileIdentity& other) const;
  };
  static FileIdentity IdentityOf(const std::string& path, const struct stat& info);
  // Drops the last parse: there is no registry now.
  void Forget();

  FileIdentity identity_;
  std::shared_ptr<const Hive> hive_;
  FolderWatch watch_;
  bool linked_ = true;  // the folder or the file is a symbolic link
  int parses_ = 0;
};

// The one machine hive of the process, which the registry functions read.
MachineHive& ProcessMachineHive();
