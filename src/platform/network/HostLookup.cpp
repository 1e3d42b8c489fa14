#include "platform/network/HostLookup.h"

#include <netdb.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <string>

namespace platform {

// What the resolver works on. The resolver's notification holds one
// reference, so the state outlives a lookup object dropped before the answer.
struct HostLookup::State {
  explicit State(const char* host) : name(host), done(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    request.ar_name = name.c_str();
    request.ar_request = &hints;
  }
  ~State() {
    if (request.ar_result != nullptr) {
      freeaddrinfo(request.ar_result);
    }
    if (done >= 0) {
      close(done);
    }
  }
  State(const State&) = delete;
  State& operator=(const State&) = delete;

  std::string name;
  addrinfo hints{};
  gaicb request{};
  int done;  // an eventfd, readable once the resolver has answered
  bool started = false;
  bool answered = false;
};

namespace {

// Runs on a thread of the resolver's once the answer is in.
void OnAnswer(sigval value) {
  auto* reference = static_cast<std::shared_ptr<HostLookup::State>*>(value.sival_ptr);
  eventfd_write((*reference)->done, 1);
  delete reference;
}

}  // namespace

HostLookup::HostLookup(const char* host) : state_(std::make_shared<State>(host)) {
  if (state_->done < 0) {
    return;
  }
  notification_ = new std::shared_ptr<State>(state_);
  sigevent notify{};
  notify.sigev_notify = SIGEV_THREAD;
  notify.sigev_notify_function = OnAnswer;
  notify.sigev_value.sival_ptr = notification_;
  gaicb* list[] = {&state_->request};
  if (getaddrinfo_a(GAI_NOWAIT, list, 1, &notify) != 0) {
    delete notification_;
    return;
  }
  state_->started = true;
}

HostLookup::~HostLookup() {
  // Only a request cancelled before the resolver took it up goes without
  // its notification, which would have dropped the resolver's reference.
  if (state_->started && !Done() && gai_cancel(&state_->request) == EAI_CANCELED) {
    delete notification_;
  }
}

bool HostLookup::Done() {
  State& state = *state_;
  if (!state.started || state.answered) {
    return true;
  }
  // The notification writes the descriptor after the answer is complete.
  eventfd_t count = 0;
  state.answered = eventfd_read(state.done, &count) == 0 && count > 0;
  return state.answered;
}

bool HostLookup::Result(Ipv4Address* address) const {
  if (!state_->answered || gai_error(&state_->request) != 0 || state_->request.ar_result == nullptr) {
    return false;
  }
  const auto* in = reinterpret_cast<const sockaddr_in*>(state_->request.ar_result->ai_addr);
  std::memcpy(address->data(), &in->sin_addr.s_addr, address->size());
  return true;
}

FdWatch HostLookup::Watch() const {
  FdWatch watch;
  watch.fd = state_->done;
  watch.forReading = state_->started && !state_->answered;
  return watch;
}

}  // namespace platform
