// WinSock's own starts and cleanups (WSAStartup 2.2, WSACleanup), made one
// at a time: Wine keeps their count without a lock, and starts or cleanups
// racing on several threads corrupt its state.
#pragma once

namespace platform {

// True when WinSock started; only then is a CleanupWinSock due.
bool StartWinSock();
void CleanupWinSock();

}  // namespace platform
