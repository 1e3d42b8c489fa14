#include "platform/network/HostLookup.h"

#include "DetachedThread.h"
#include "WinSockStart.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstring>
#include <string>

namespace platform {

// What the resolver's thread works on. The thread holds one reference, so
// the state outlives a lookup object dropped before the answer, and goes
// with the thread once the answer is in.
struct HostLookup::State {
  explicit State(const char* host) : name(host), done(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~State() {
    if (done != nullptr) {
      CloseHandle(done);
    }
  }
  State(const State&) = delete;
  State& operator=(const State&) = delete;

  // Runs on the resolver's thread: the answer, then the event.
  void Resolve() {
    // The resolver needs WinSock started for its own calls, whatever the
    // lookup's owner did meanwhile.
    if (StartWinSock()) {
      addrinfo hints{};
      hints.ai_family = AF_INET;
      hints.ai_socktype = SOCK_STREAM;
      addrinfo* answer = nullptr;
      if (getaddrinfo(name.c_str(), nullptr, &hints, &answer) == 0 && answer != nullptr) {
        const auto* in = reinterpret_cast<const sockaddr_in*>(answer->ai_addr);
        std::memcpy(address.data(), &in->sin_addr.s_addr, address.size());
        found = true;
      }
      if (answer != nullptr) {
        freeaddrinfo(answer);
      }
      CleanupWinSock();
    }
    // Setting the event publishes `address` and `found` to the thread that
    // sees it set.
    SetEvent(done);
  }

  std::string name;
  HANDLE done;  // a manual-reset event, set once the resolver has answered
  Ipv4Address address{};
  bool found = false;
  bool started = false;
  bool answered = false;
};

HostLookup::HostLookup(const char* host) : state_(std::make_shared<State>(host)) {
  if (state_->done == nullptr) {
    return;
  }
  // Without a thread the lookup is done at once, without an address.
  state_->started = RunDetached([state = state_] { state->Resolve(); });
}

// The resolver's thread ends on its own and drops its reference then.
HostLookup::~HostLookup() = default;

bool HostLookup::Done() {
  State& state = *state_;
  if (!state.started || state.answered) {
    return true;
  }
  state.answered = WaitForSingleObject(state.done, 0) == WAIT_OBJECT_0;
  return state.answered;
}

bool HostLookup::Result(Ipv4Address* address) const {
  if (!state_->answered || !state_->found) {
    return false;
  }
  *address = state_->address;
  return true;
}

FdWatch HostLookup::Watch() const {
  FdWatch watch;
  if (state_->started && !state_->answered) {
    watch.event = state_->done;
  }
  return watch;
}

}  // namespace platform
