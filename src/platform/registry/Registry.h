// Read-only access to the machine registry, shaped like the Win32 registry
// functions the launcher calls.
//
// The launcher reads the keys the game's 32-bit installer wrote, in the
// registry's 32-bit view (KEY_WOW64_32KEY; Software\Wow6432Node on a 64-bit
// system). On Windows these are the system's own functions. On Linux
// HKEY_LOCAL_MACHINE is the machine registry of the Wine prefix the game is
// installed in (see MachineHive.h); in a 64-bit prefix a key under SOFTWARE
// is looked for under Software\Wow6432Node first, then under the plain path.
#pragma once

#include <cstdint>

#include "base/WinTypes.h"

#ifdef _WIN32
// Windows' own registry functions, from <windows.h> (Advapi32).
#else
using LSTATUS = std::int32_t;

// An open key. Opaque to its users.
struct RegistryKey;
using HKEY = RegistryKey*;

inline const HKEY HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(std::uintptr_t{0x80000002});

inline constexpr DWORD KEY_READ = 0x20019;
// Asks for the 32-bit view; accepted, as the view here is always that one.
inline constexpr DWORD KEY_WOW64_32KEY = 0x0200;
inline constexpr DWORD REG_SZ = 1;

inline constexpr LSTATUS ERROR_SUCCESS = 0;
inline constexpr LSTATUS ERROR_FILE_NOT_FOUND = 2;
inline constexpr LSTATUS ERROR_INVALID_HANDLE = 6;
inline constexpr LSTATUS ERROR_INVALID_PARAMETER = 87;
inline constexpr LSTATUS ERROR_MORE_DATA = 234;

// Opens subKey (a narrow text in the locale's encoding, case ignored) of
// HKEY_LOCAL_MACHINE. Fails with ERROR_FILE_NOT_FOUND when the key is absent
// or the prefix has no machine registry, with the system's status when it
// cannot be opened otherwise. The key sees the registry as it was when it
// was opened. options and access are accepted as given: the view is always
// the 32-bit one.
LSTATUS RegOpenKeyEx(HKEY key, const char* subKey, DWORD options, DWORD access, HKEY* result);

// Reads the string value name (null or "" for the key's default value) as a
// narrow text in the locale's encoding with its terminating zero; *size
// offers data's capacity and receives the value's size. When the value does
// not fit, the part that fits is copied and ERROR_MORE_DATA is returned.
// Values of other types than strings (REG_SZ) are not seen.
LSTATUS RegQueryValueEx(HKEY key, const char* name, DWORD* reserved, DWORD* type, BYTE* data, DWORD* size);

LSTATUS RegCloseKey(HKEY key);

#endif
