// Waits that a descriptor ends: what a socket asks to be woken for at each
// stage of a fetch, and a lookup dropped before the resolver's answer.
#include "platform/network/FdWatch.h"
#include "platform/network/HostLookup.h"
#include "platform/network/SocketLayer.h"
#include "platform/network/TcpSocket.h"
#include "support/LoopbackServer.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
// After windows.h, whose types it uses.
#include <tlhelp32.h>
#else
#include <filesystem>
#endif

#include <chrono>

namespace {

// The longest a test waits for what loopback and the resolver do at once.
constexpr int kPatienceMs = 10000;
constexpr int kLookupPatienceMs = 30000;

// The threads of this process, the resolver's among them.
std::size_t ThreadCount() {
#ifdef _WIN32
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  EXPECT_NE(snapshot, INVALID_HANDLE_VALUE);
  std::size_t count = 0;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    count += entry.th32OwnerProcessID == GetCurrentProcessId() ? 1 : 0;
  }
  CloseHandle(snapshot);
  return count;
#else
  const std::filesystem::directory_iterator tasks("/proc/self/task");
  return static_cast<std::size_t>(std::distance(begin(tasks), end(tasks)));
#endif
}

using platform::FdWatch;
using platform::TcpSocket;

class TcpSocketTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::StartSocketLayer(); }
  void TearDown() override { platform::CleanupSocketLayer(); }
};

bool ReadyWithin(FdWatch watch, int ms) { return platform::WaitForFd(watch, ms); }
bool ReadyNow(FdWatch watch) { return ReadyWithin(watch, 0); }

}  // namespace

TEST_F(TcpSocketTest, ASocketWakesAWaitOnlyForNewsNotYetReported) {
  // Once the request's empty line is in, each release sends "abc", then closes.
  LoopbackServer server("127.0.0.1", [](LoopbackServer& s) {
    s.WaitForRelease();
    s.Send("abc");
    s.WaitForRelease();
  });
  TcpSocket socket;
  ASSERT_TRUE(socket.Connect(platform::Ipv4Address{127, 0, 0, 1}, 80));

  // Connecting: the end of the attempt is news.
  FdWatch connecting = socket.Watch(false);
#ifndef _WIN32
  EXPECT_TRUE(connecting.forWriting);
#endif
  ASSERT_TRUE(ReadyWithin(connecting, kPatienceMs));
  platform::SocketEvents events;
  ASSERT_TRUE(socket.Poll(&events));
  ASSERT_TRUE(events.connected);
  ASSERT_EQ(socket.Send("\r\n\r\n", 4), 4);

  // Connected, nothing to send, nothing arrived: room to write is no news.
  const FdWatch idle = socket.Watch(false);
#ifndef _WIN32
  EXPECT_TRUE(idle.forReading);
  EXPECT_FALSE(idle.forWriting);
#endif
  EXPECT_FALSE(ReadyNow(idle));
  EXPECT_TRUE(ReadyNow(socket.Watch(true)));

  // Data is news until the socket is drained.
  server.Release();
  EXPECT_TRUE(ReadyWithin(socket.Watch(false), kPatienceMs));
  char buffer[16];
  EXPECT_EQ(socket.Receive(buffer, sizeof buffer), 3);
  EXPECT_EQ(socket.Receive(buffer, sizeof buffer), platform::kSocketWouldBlock);
  EXPECT_FALSE(ReadyNow(socket.Watch(false)));

  // The peer's close is news once; read to its end, the socket asks for nothing.
  server.Release();
  EXPECT_TRUE(ReadyWithin(socket.Watch(false), kPatienceMs));
  EXPECT_EQ(socket.Receive(buffer, sizeof buffer), 0);
  EXPECT_FALSE(socket.Watch(false).Watches());
}

TEST_F(TcpSocketTest, ARefusedConnectionEndsItsAttemptAndFailsTheSend) {
  TcpSocket socket;
  ASSERT_TRUE(socket.Connect(platform::Ipv4Address{127, 0, 0, 1}, 80));  // nobody listens
  platform::SocketEvents events;
  while (socket.Poll(&events) && !events.connected) {
    ASSERT_TRUE(ReadyWithin(socket.Watch(false), kPatienceMs));
  }
  ASSERT_TRUE(events.connected);
  EXPECT_EQ(socket.Send("\r\n\r\n", 4), platform::kSocketFailed);
}

TEST(HostLookupTest, ANameThatDoesNotResolveEndsTheLookupWithoutAnAddress) {
  platform::HostLookup lookup("no-such-host.invalid");
  while (!lookup.Done()) {
    FdWatch watch = lookup.Watch();
    ASSERT_TRUE(platform::WaitForFd(watch, kLookupPatienceMs));
  }
  platform::Ipv4Address address{};
  EXPECT_FALSE(lookup.Result(&address));
  EXPECT_FALSE(lookup.Watch().Watches());
}

TEST(HostLookupTest, ALookupDroppedBeforeItsAnswerLeavesNothingBehind) {
  // Run under AddressSanitizer, this shows the resolver's late answer
  // touching nothing that was freed, and nothing of it left once answered.
  const std::size_t threadsBefore = ThreadCount();
  for (int i = 0; i < 20; ++i) {
    platform::HostLookup dropped("localhost");
  }
  platform::HostLookup last("localhost");
  while (!last.Done()) {
    FdWatch watch = last.Watch();
    ASSERT_TRUE(platform::WaitForFd(watch, kLookupPatienceMs));
  }
  platform::Ipv4Address address{};
  EXPECT_TRUE(last.Result(&address));
  // The dropped lookups are answered on the resolver's own threads; once they
  // have all ended, every answer has released what it held. (A thread an
  // earlier test joined may still have been listed at the start.)
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLookupPatienceMs);
  while (ThreadCount() > threadsBefore && std::chrono::steady_clock::now() < deadline) {
    platform::FdWatch none;
    platform::WaitForFd(none, 10);
  }
  EXPECT_LE(ThreadCount(), threadsBefore);
}
