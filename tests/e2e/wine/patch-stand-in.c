/* Stands in for the game's patch "MRVPatch.exe" under Wine: raises the
 * installed version as the game's 32-bit installer does, through the 32-bit
 * view of the machine registry. NEW_VERSION comes from the build. */
#include <windows.h>

#include <stdio.h>
#include <string.h>

int main(void) {
  static const char kGameKey[] = "Software\\Veltrano\\Moravine Cht";
  static const char kVersion[] = NEW_VERSION;
  HKEY key;
  LSTATUS status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, kGameKey, 0, NULL, REG_OPTION_NON_VOLATILE,
                                   KEY_SET_VALUE | KEY_WOW64_32KEY, NULL, &key, NULL);
  if (status != ERROR_SUCCESS) {
    fprintf(stderr, "MRVPatch.exe: cannot open HKLM\\%s (error %ld)\n", kGameKey, (long)status);
    return 1;
  }
  status = RegSetValueExA(key, "GameVerSP", 0, REG_SZ, (const BYTE*)kVersion, (DWORD)sizeof kVersion);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) {
    fprintf(stderr, "MRVPatch.exe: cannot set GameVerSP (error %ld)\n", (long)status);
    return 1;
  }
  return 0;
}
