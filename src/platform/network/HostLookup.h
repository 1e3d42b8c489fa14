// Looking a host name up without holding the thread: the resolver works on
// a thread of its own, and a wait learns of its answer through a descriptor
// (Linux) or an event object (Windows).
#pragma once

#include "platform/network/FdWatch.h"
#include "platform/network/Ipv4Address.h"

#include <memory>

namespace platform {

class HostLookup {
 public:
  // Starts looking `host` up as a name, for its IPv4 addresses. A lookup that
  // cannot be started is done at once, without an address.
  explicit HostLookup(const char* host);
  // An unfinished lookup is cancelled, or left to end on its own.
  ~HostLookup();
  HostLookup(const HostLookup&) = delete;
  HostLookup& operator=(const HostLookup&) = delete;

  // True once the resolver has answered.
  bool Done();
  // The first IPv4 address of the answer; false while not done or when the
  // name did not resolve.
  bool Result(Ipv4Address* address) const;
  // Ready once the answer is in.
  FdWatch Watch() const;

  struct State;

 private:
  std::shared_ptr<State> state_;
#ifndef _WIN32
  // The resolver's reference to the state, handed over with the request.
  std::shared_ptr<State>* notification_ = nullptr;
#endif
};

}  // namespace platform
