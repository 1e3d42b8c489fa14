// Handing addresses and files to the desktop's applications: on Linux as the
// installed .desktop files and the user's default-application choices
// (mimeapps.list) name them, on Windows through the shell's "open" and
// "explore" verbs. A handler is started and left to run: nothing here waits
// for it.
#pragma once

#include <string>

namespace platform {

enum class HandlerStart {
  Started,     // a handler was found and started
  NoFile,      // the file named does not exist
  NoHandler,   // nothing on the desktop handles the scheme or the content type
  NotStarted,  // a handler was found but could not be started
};

// An address (a text that starts with a scheme of two or more letters and a
// colon, as "http://host/") goes to the default handler of its scheme. Any
// other text names a file, relative names against the current directory: it
// goes, as a file address, to the default application for its content type.
// Texts are the caller's bytes; file names are the file system's own.
HandlerStart OpenWithDefaultHandler(const std::string& target);

// The target, read as above, goes to the desktop's file manager: the default
// handler of folders (inode/directory).
HandlerStart OpenWithFileManager(const std::string& target);

}  // namespace platform
