/* Stands in for the game "MRVSP.dat" under Wine: writes ran-MRVSP.txt into
 * its working directory with three lines, the working directory, the command
 * line and WINEPREFIX as the program sees them. The file is written under
 * another name first and renamed, so it appears complete. */
#include <windows.h>

#include <stdio.h>

int main(void) {
  char folder[MAX_PATH];
  if (GetCurrentDirectoryA(sizeof folder, folder) == 0) {
    fprintf(stderr, "MRVSP.dat: no working directory (error %lu)\n", GetLastError());
    return 1;
  }
  char prefix[MAX_PATH] = "";
  GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix); /* stays empty when unset */

  FILE* marker = fopen("ran-MRVSP.part", "wb"); /* plain LF line ends, for the test */
  if (marker == NULL) {
    perror("MRVSP.dat: ran-MRVSP.part");
    return 1;
  }
  fprintf(marker, "%s\n%s\n%s\n", folder, GetCommandLineA(), prefix);
  if (fclose(marker) != 0) {
    perror("MRVSP.dat: ran-MRVSP.part");
    return 1;
  }
  if (!MoveFileExA("ran-MRVSP.part", "ran-MRVSP.txt", MOVEFILE_REPLACE_EXISTING)) {
    fprintf(stderr, "MRVSP.dat: cannot rename the marker (error %lu)\n", GetLastError());
    return 1;
  }
  return 0;
}
