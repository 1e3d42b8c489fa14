#include "framework/ConnectedState.h"

#include "platform/network/NetworkState.h"

BOOL InternetGetConnectedState(DWORD* flags, DWORD reserved) {
  if (flags != nullptr) *flags = 0;
  if (reserved != 0) return FALSE;
  return platform::CurrentNetworkState().IsNetworkAvailable() ? TRUE : FALSE;
}
