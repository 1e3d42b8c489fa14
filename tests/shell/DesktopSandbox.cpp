#include "DesktopSandbox.h"

#include "support/Headless.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

DesktopSandbox* current = nullptr;

// The content types of each kind and how its Exec line passes the target.
const std::map<std::string, std::pair<std::string, std::string>> kKinds{
    {"web", {"x-scheme-handler/http", "%u"}},
    {"text", {"text/plain", "%f"}},
    {"folder", {"inode/directory", "%u"}},
};

void Write(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

}  // namespace

DesktopSandbox::DesktopSandbox(const std::set<std::string>& kinds) : kinds_(kinds) {
  std::string pattern = (fs::temp_directory_path() / "moravine-desktop-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no sandbox folder");
  folder_ = pattern;
  for (const char* sub : {"data/applications", "config", "system", "system-config", "bin"}) {
    fs::create_directories(folder_ / sub);
  }
  // The shared MIME database tells content types; the system's applications stay out.
  if (fs::exists("/usr/share/mime")) fs::create_directory_symlink("/usr/share/mime", folder_ / "system" / "mime");

  const fs::path recorder = folder_ / "bin" / "record-start";
  const fs::path log = folder_ / "starts.log";
  const fs::path hold = folder_ / "hold";
  Write(recorder,
        "#!/bin/sh\nkind=$1\nshift\nline=$kind\nfor a in \"$@\"; do line=\"$line|$a\"; done\necho \"$line\" >> '" +
            log.string() + "'\nwhile [ -e '" + hold.string() + "' ]; do sleep 0.05; done\n");
  fs::permissions(recorder, fs::perms(0755));
  // GIO finds handlers through the folder's MIME cache, as a desktop's
  // update-desktop-database leaves it.
  std::string cache = "[MIME Cache]\n";
  for (const std::string& kind : kinds) {
    const auto& [type, field] = kKinds.at(kind);
    const std::string id = "stand-in-" + kind + ".desktop";
    Write(folder_ / "data/applications" / id, "[Desktop Entry]\nType=Application\nName=Stand-in " + kind +
                                                  "\nExec=" + recorder.string() + " " + kind + " " + field +
                                                  "\nMimeType=" + type + ";\nNoDisplay=true\n");
    cache += type + "=" + id + ";\n";
  }
  Write(folder_ / "data/applications/mimeinfo.cache", cache);

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

void DesktopSandbox::Hold(bool held) const {
  if (held) {
    Write(folder_ / "hold", "");
  } else {
    fs::remove(folder_ / "hold");
  }
}

DesktopSandbox& DesktopSandbox::Current() { return *current; }
