#include "DesktopSandbox.h"

#include "support/Headless.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

DesktopSandbox* current = nullptr;

void Write(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

}  // namespace

DesktopSandbox::DesktopSandbox() {
  std::string pattern = (fs::temp_directory_path() / "moravine-desktop-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no sandbox folder");
  folder_ = pattern;
  for (const char* sub : {"data/applications", "config", "system", "system-config"}) {
    fs::create_directories(folder_ / sub);
  }
  // The shared MIME database tells content types; the system's applications stay out.
  if (fs::exists("/usr/share/mime")) fs::create_directory_symlink("/usr/share/mime", folder_ / "system" / "mime");

  recorder_ = folder_ / "record-start";
  Write(recorder_, "#!/bin/sh\nline=$1\nshift\nfor a in \"$@\"; do line=\"$line|$a\"; done\necho \"$line\" >> '" +
                       (folder_ / "starts.log").string() + "'\n");
  fs::permissions(recorder_, fs::perms(0755));
  // GIO finds the handler through the folder's MIME cache, as a desktop's
  // update-desktop-database leaves it.
  Write(folder_ / "data/applications/stand-in-folder.desktop",
        "[Desktop Entry]\nType=Application\nName=Stand-in folder\nExec=" + recorder_.string() +
            " folder %u\nMimeType=inode/directory;\nNoDisplay=true\n");
  Write(folder_ / "data/applications/mimeinfo.cache", "[MIME Cache]\ninode/directory=stand-in-folder.desktop;\n");

  setenv("XDG_DATA_HOME", (folder_ / "data").c_str(), 1);
  setenv("XDG_DATA_DIRS", (folder_ / "system").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (folder_ / "config").c_str(), 1);
  setenv("XDG_CONFIG_DIRS", (folder_ / "system-config").c_str(), 1);
  // Launching looks for the session bus; there is none to find here.
  setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + (folder_ / "no-bus").string()).c_str(), 1);
  current = this;
}

DesktopSandbox::~DesktopSandbox() {
  current = nullptr;
  fs::remove_all(folder_);
}

std::vector<std::string> DesktopSandbox::Starts() const {
  std::vector<std::string> lines;
  std::ifstream in(folder_ / "starts.log");
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> DesktopSandbox::StartsAfter(std::size_t skip, std::size_t count) const {
  testsupport::PumpUntil([&] { return Starts().size() >= skip + count; });
  const std::vector<std::string> all = Starts();
  return {all.begin() + static_cast<std::ptrdiff_t>(std::min(skip, all.size())), all.end()};
}

DesktopSandbox& DesktopSandbox::Current() { return *current; }
