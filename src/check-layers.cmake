# Fails the build when a source file includes what its layer may not use, or
# when the launcher's code asks which system it is built for, and names the
# file, the line and the rule. Run with SOURCE_DIR set to src.
#
# The include folders keep each layer from finding a higher layer's headers;
# this check says so plainly, and also covers the system libraries whose
# headers lie in the default include path (curl, Xlib).

# Each rule: the folders it covers (under src), the includes it forbids, and
# the rule as the message states it.
set(rules launcher framework platform base relative)

set(launcher_folders app shell update webpanel)
set(launcher_forbidden "<(gtk|gdk|webkit2|JavaScriptCore|curl|X11)/")
set(launcher_rule "the launcher includes no GTK, WebKit, curl or Xlib header; the platform wraps them")

set(framework_folders framework)
set(framework_forbidden "<(gtk|gdk|webkit2|JavaScriptCore|curl|X11)/|\"(app|shell|update|webpanel)/")
set(framework_rule "the framework includes no GTK, WebKit, curl or Xlib header and nothing of the launcher")

set(platform_folders platform)
set(platform_forbidden "\"(framework|app|shell|update|webpanel)/")
set(platform_rule "the platform includes nothing of the framework or the launcher")

set(base_folders base)
set(base_forbidden "\"(platform|framework|app|shell|update|webpanel)/")
set(base_rule "the base includes nothing of the other layers")

set(relative_folders app shell update webpanel framework platform base)
set(relative_forbidden "\"[^\"]*\\.\\./")
set(relative_rule "includes name the layer's folder from src (\"framework/CWnd.h\"), never a path upwards")

set(include_line "^[ \t]*#[ \t]*include[ \t]*")
set(violations "")
foreach(rule IN LISTS rules)
  foreach(folder IN LISTS ${rule}_folders)
    file(GLOB_RECURSE sources LIST_DIRECTORIES false "${SOURCE_DIR}/${folder}/*.cpp" "${SOURCE_DIR}/${folder}/*.h")
    foreach(source IN LISTS sources)
      file(STRINGS "${source}" includes REGEX "${include_line}")
      foreach(line IN LISTS includes)
        if(line MATCHES "${include_line}(${${rule}_forbidden})")
          file(RELATIVE_PATH shown "${SOURCE_DIR}/.." "${source}")
          string(STRIP "${line}" line)
          string(APPEND violations "${shown}: ${line}\n    ${${rule}_rule}\n")
        endif()
      endforeach()
    endforeach()
  endforeach()
endforeach()

# The launcher is one set of sources for Linux and Windows: what differs
# between the systems lives in the framework and the platform.
set(system_test "^[ \t]*#[ \t]*(if|ifdef|ifndef|elif)[ \t].*(_WIN32|_WIN64|WIN32|__linux__|__unix__|__MINGW)")
foreach(folder IN LISTS launcher_folders)
  file(GLOB_RECURSE sources LIST_DIRECTORIES false "${SOURCE_DIR}/${folder}/*.cpp" "${SOURCE_DIR}/${folder}/*.h")
  foreach(source IN LISTS sources)
    file(STRINGS "${source}" conditionals REGEX "${system_test}")
    foreach(line IN LISTS conditionals)
      file(RELATIVE_PATH shown "${SOURCE_DIR}/.." "${source}")
      string(STRIP "${line}" line)
      string(APPEND violations "${shown}: ${line}\n    the launcher holds no conditional on the system; the framework and the platform do\n")
    endforeach()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "The layers' rules broken (docs/architecture.md):\n${violations}")
endif()
