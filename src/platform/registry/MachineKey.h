// The machine registry behind the registry functions of Registry.h: the Wine
// prefix's system.reg (MachineHive). Texts are narrow, in the locale's
// encoding. Statuses are the registry functions' codes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// An open key.
struct RegistryKey;

// Opens subKey of HKEY_LOCAL_MACHINE as the game's 32-bit installer saw it.
// On success *key is a new key for CloseMachineKey.
std::int32_t OpenMachineKey(const char* subKey, RegistryKey** key);

// The string value `name` ("" for the key's default value) up to its first
// zero, in *value. A value that is absent or of another type is not found.
std::int32_t ReadStringValue(const RegistryKey& key, const char* name, std::string* value);

void CloseMachineKey(RegistryKey* key);
