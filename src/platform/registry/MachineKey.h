// The machine registry as each system holds it, behind the registry functions
// of Registry.h: on Linux the Wine prefix's system.reg (MachineHive), on
// Windows the system's own registry in the 32-bit view. Texts are narrow, in
// the locale's encoding. Statuses are the registry functions' codes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// An open key; each system defines it.
struct RegistryKey;

// Windows: a string value longer than this many bytes is not read. Real
// values hold a few dozen; the system's own guideline keeps them under 2 KB.
inline constexpr std::size_t kMaxStringValueSize = std::size_t{1} << 20;

// Opens subKey of HKEY_LOCAL_MACHINE as the game's 32-bit installer saw it.
// On success *key is a new key for CloseMachineKey.
std::int32_t OpenMachineKey(const char* subKey, RegistryKey** key);

// The string value `name` ("" for the key's default value) up to its first
// zero, in *value. A value that is absent, of another type or (on Windows)
// longer than kMaxStringValueSize is not found.
std::int32_t ReadStringValue(const RegistryKey& key, const char* name, std::string* value);

void CloseMachineKey(RegistryKey* key);
