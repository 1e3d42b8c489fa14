#include "platform/registry/Registry.h"

#include <cstring>
#include <string>

#include "platform/registry/MachineKey.h"

LSTATUS RegOpenKeyEx(HKEY key, const char* subKey, DWORD, DWORD, HKEY* result) {
  if (result == nullptr || subKey == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  if (key != HKEY_LOCAL_MACHINE) {
    return ERROR_INVALID_HANDLE;
  }
  return OpenMachineKey(subKey, result);
}

LSTATUS RegQueryValueEx(HKEY key, const char* name, DWORD*, DWORD* type, BYTE* data, DWORD* size) {
  if (key == nullptr || key == HKEY_LOCAL_MACHINE) {
    return ERROR_INVALID_HANDLE;
  }
  if (data != nullptr && size == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  std::string text;
  if (const LSTATUS status = ReadStringValue(*key, name != nullptr ? name : "", &text); status != ERROR_SUCCESS) {
    return status;
  }
  const auto needed = static_cast<DWORD>(text.size() + 1);
  if (type != nullptr) {
    *type = REG_SZ;
  }
  if (data == nullptr) {
    if (size != nullptr) {
      *size = needed;
    }
    return ERROR_SUCCESS;
  }
  const DWORD offered = *size;
  *size = needed;
  if (offered < needed) {
    std::memcpy(data, text.c_str(), offered);
    return ERROR_MORE_DATA;
  }
  std::memcpy(data, text.c_str(), needed);
  return ERROR_SUCCESS;
}

LSTATUS RegCloseKey(HKEY key) {
  if (key == nullptr) {
    return ERROR_INVALID_HANDLE;
  }
  if (key != HKEY_LOCAL_MACHINE) {
    CloseMachineKey(key);
  }
  return ERROR_SUCCESS;
}
