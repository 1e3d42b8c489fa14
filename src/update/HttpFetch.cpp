#include "update/HttpFetch.h"

#include "framework/MessageQueue.h"
#include "platform/network/TcpSocket.h"
#include "update/ChunkedSink.h"
#include "update/FetchFailure.h"
#include "update/FetchSink.h"
#include "update/FileSink.h"
#include "update/HttpRequest.h"
#include "update/MemorySink.h"
#include "update/PumpMessages.h"
#include "update/ServerAddress.h"
#include "update/UrlParts.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace {

constexpr std::uint16_t kHttpPort = 80;
constexpr int kChunkBytes = 1024;
// How long the fetch waits without reading anything, counted from the
// connection attempt, from its completion and from each read: about a
// minute (one wait of 1 ms and 600 of 100 ms).
constexpr DWORD kWaitBudgetMs = 1 + 600 * 100;
// The longest single wait, so the stop flag is looked at every so often.
constexpr DWORD kLongestWaitMs = 100;

FetchFailure lastFailure = FetchFailure::kNone;

// Keeps why the fetch failed and gives its result.
int Fail(FetchFailure reason) {
  lastFailure = reason;
  return 0;
}

// The socket side of one fetch, from the connection attempt to its end.
class Transfer {
 public:
  Transfer(ChunkedSink& sink, std::string request, int* stopFlag, HttpProgressProc progress)
      : sink_(sink), request_(std::move(request)), stopFlag_(stopFlag), progress_(progress) {}

  // The fetch's result: the sink's on success, 0 on failure.
  int Run(const platform::Ipv4Address& server);

 private:
  enum class DrainEnd { kEmpty, kComplete, kFailed };

  static DrainEnd DrainFailed(FetchFailure reason) {
    Fail(reason);
    return DrainEnd::kFailed;
  }
  FetchFailure Cycle();
  bool SendPending();
  DrainEnd Drain();
  void Report(int code) const;

  ChunkedSink& sink_;
  const std::string request_;
  int* const stopFlag_;
  const HttpProgressProc progress_;
  platform::TcpSocket socket_;
  // The part of the request the socket has not accepted yet; empty until
  // the connection completes.
  std::string_view pending_;
  // When the wait budget was last set.
  DWORD budgetStart_ = 0;
  int received_ = 0;
  int firstChunk_ = 0;
  DWORD startTick_ = 0;
};

int Transfer::Run(const platform::Ipv4Address& server) {
  if (!socket_.IsOpen() || !socket_.Connect(server, kHttpPort)) {
    return Fail(FetchFailure::kSocket);
  }
  startTick_ = GetTickCount();
  budgetStart_ = startTick_;
  Report(HTTP_PROGRESS_CONNECTING);
  for (;;) {
    if (stopFlag_ != nullptr && *stopFlag_ != 0) {
      return Fail(FetchFailure::kStopped);
    }
    platform::SocketEvents events;
    if (!socket_.Poll(&events)) {
      return Fail(FetchFailure::kSocket);
    }
    if (events.connected) {
      budgetStart_ = GetTickCount();
      pending_ = request_;
      if (!SendPending()) {
        return Fail(FetchFailure::kSend);
      }
    }
    if (events.readable || events.peerClosed) {
      const DrainEnd end = Drain();
      if (end == DrainEnd::kFailed) {
        return 0;  // Drain has kept the reason
      }
      if (end == DrainEnd::kComplete) {
        Report(HTTP_PROGRESS_COMPLETED);
        return sink_.Complete();
      }
    }
    if (const FetchFailure failure = Cycle(); failure != FetchFailure::kNone) {
      return Fail(failure);
    }
  }
}

// The waiting part of one cycle: the messages, the budget, a wait that the
// socket's news, a message or a timer ends early, then the rest of the
// request. Anything but kNone fails the fetch.
FetchFailure Transfer::Cycle() {
  if (!PumpMessages()) {
    return FetchFailure::kQuit;
  }
  const DWORD spent = GetTickCount() - budgetStart_;
  if (spent >= kWaitBudgetMs) {
    return FetchFailure::kTimedOut;
  }
  platform::FdWatch watch = socket_.Watch(!pending_.empty());
  MsgWaitForDescriptor(watch, std::min(kLongestWaitMs, kWaitBudgetMs - spent));
  return SendPending() ? FetchFailure::kNone : FetchFailure::kSend;
}

bool Transfer::SendPending() {
  if (pending_.empty()) {
    return true;
  }
  const int sent = socket_.Send(pending_.data(), static_cast<int>(pending_.size()));
  if (sent == platform::kSocketWouldBlock) {
    return true;
  }
  if (sent < 0) {
    return false;
  }
  pending_.remove_prefix(static_cast<std::size_t>(sent));
  return true;
}

// Reads and stores everything waiting. The reply is complete when the server
// closes the connection, as the request asks it to, unless a chunked body was
// cut short, or as soon as a chunked body's own framing ends it; an empty
// socket sends the fetch back to waiting, and data restores the wait budget.
Transfer::DrainEnd Transfer::Drain() {
  char chunk[kChunkBytes];
  for (;;) {
    const int n = socket_.Receive(chunk, kChunkBytes);
    if (n == 0) {
      return sink_.Whole() ? DrainEnd::kComplete : DrainFailed(FetchFailure::kCutShort);
    }
    if (n == platform::kSocketWouldBlock) {
      return DrainEnd::kEmpty;
    }
    if (n < 0) {
      return DrainFailed(FetchFailure::kReceive);
    }
    if (!sink_.Store(chunk, n)) {
      return DrainFailed(FetchFailure::kReply);
    }
    received_ += n;
    if (firstChunk_ == 0) {
      firstChunk_ = n;
    }
    budgetStart_ = GetTickCount();
    Report(HTTP_PROGRESS_CHUNK);
    if (sink_.Ended()) {
      return DrainEnd::kComplete;
    }
  }
}

void Transfer::Report(int code) const {
  if (progress_ != nullptr) {
    progress_(code, sink_.Passed(), firstChunk_, received_, static_cast<int>(startTick_));
  }
}

}  // namespace

FetchFailure LastFetchFailure() { return lastFailure; }

int HttpFetch(const char* url, void* target, int toMemory, int noCache, int* stopFlag, HttpProgressProc progress) {
  lastFailure = FetchFailure::kNone;
  const std::optional<UrlParts> parts = SplitUrl(url);
  if (!parts) {
    return Fail(FetchFailure::kUrl);
  }
  std::string request = BuildRequest(*parts, noCache != 0);

  std::unique_ptr<FetchSink> sink;
  if (toMemory) {
    sink = MemorySink::Open(static_cast<char**>(target));
  } else {
    sink = FileSink::Open(static_cast<const char*>(target));
  }
  if (!sink) {
    return Fail(FetchFailure::kTarget);
  }

  platform::Ipv4Address server;
  if (!ResolveServer(parts->host.c_str(), &server)) {
    return Fail(FetchFailure::kLookup);
  }
  ChunkedSink reply(std::move(sink));
  return Transfer(reply, std::move(request), stopFlag, progress).Run(server);
}
