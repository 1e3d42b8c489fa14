// A file descriptor that a wait watches besides its other sources.
#pragma once

namespace platform {

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

// Waits up to timeoutMs (-1: no limit) for the descriptor alone; sets and
// returns watch.ready. A watch that asks for nothing only lets the time
// pass, and returns at once when there is no limit.
bool WaitForFd(FdWatch& watch, int timeoutMs);

}  // namespace platform
