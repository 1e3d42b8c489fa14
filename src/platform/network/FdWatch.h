// What a wait watches besides the window's messages: a file descriptor on
// Linux, an event object on Windows (a socket's network events are tied to
// one with WSAEventSelect).
#pragma once

namespace platform {

#ifdef _WIN32
struct FdWatch {
  void* event = nullptr;  // HANDLE of an event object; null: nothing to watch
  // Set by the wait: the event was signalled.
  bool ready = false;

  bool Watches() const { return event != nullptr; }
};
#else
struct FdWatch {
  int fd = -1;              // -1: nothing to watch
  bool forReading = false;  // data, the end of the stream or an error may be read
  bool forWriting = false;  // bytes may be written, or a connection attempt has ended
  // Set by the wait: the descriptor became ready for what was asked (or failed).
  bool ready = false;

  bool Watches() const { return fd >= 0 && (forReading || forWriting); }
  // The poll(2) events asked for.
  short PollEvents() const;
};
#endif

// Waits up to timeoutMs (-1: no limit) for the watched object alone; sets and
// returns watch.ready. A watch that asks for nothing only lets the time
// pass, and returns at once when there is no limit.
bool WaitForFd(FdWatch& watch, int timeoutMs);

}  // namespace platform
