#include "ScriptedSocket.h"

#include "FuzzTarget.h"
#include "platform/network/SocketLayer.h"
#include "platform/network/TcpSocket.h"

#include <fcntl.h>
#include <algorithm>
#include <cstring>

namespace fuzzsupport {
namespace {

constexpr std::uint8_t kDefaultRhythm[] = {0};

// The one connection a fetch holds; TcpSocket's own fields stay as the
// header declares them, so the state lives here.
struct Connection {
  SocketScript script;
  bool open = false;
  bool connected = false;
  int connectPausesLeft = 0;
  std::size_t received = 0;     // reply bytes handed out
  std::size_t receiveStep = 0;  // rhythm step of the next chunk
  int pausesLeft = 0;           // polls to find nothing before that chunk
  std::size_t sendStep = 0;
  std::string sent;
};

Connection connection;
SocketScript current{{}, kDefaultRhythm};

std::uint8_t Step(std::size_t index) { return connection.script.rhythm[index % connection.script.rhythm.size()]; }

int Pauses(std::uint8_t step) { return step >> 5; }

int ChunkSize(std::uint8_t step, int capacity) {
  const int root = step & 0x1F;
  return root == 0 ? capacity : std::min(capacity, root * root);
}

}  // namespace

void UseSocketScript(const SocketScript& script) {
  current = script;
  if (current.rhythm.empty()) {
    current.rhythm = kDefaultRhythm;
  }
}

const std::string& SentBytes() { return connection.sent; }

}  // namespace fuzzsupport

namespace platform {

using fuzzsupport::connection;

TcpSocket::TcpSocket() {
  if (!SocketLayerStarted()) {
    return;
  }
  Require(!connection.open, "one socket at a time");
  connection = {};
  connection.script = fuzzsupport::current;
  connection.open = true;
  connection.connectPausesLeft = connection.script.connectPauses;
  connection.pausesLeft = fuzzsupport::Pauses(fuzzsupport::Step(0));
  fd_ = 0;
}

TcpSocket::~TcpSocket() {
  if (fd_ >= 0) {
    connection.open = false;
  }
}

bool TcpSocket::IsOpen() const { return fd_ >= 0; }

bool TcpSocket::Connect(const Ipv4Address&, std::uint16_t) { return true; }

bool TcpSocket::Poll(SocketEvents* events) {
  *events = {};
  if (!connection.connected) {
    if (connection.connectPausesLeft > 0) {
      --connection.connectPausesLeft;
      return true;
    }
    connection.connected = true;
    connectReported_ = true;
    events->connected = true;
  }
  if (connection.pausesLeft > 0) {
    --connection.pausesLeft;
    return true;
  }
  events->readable = true;
  events->peerClosed = connection.received == connection.script.reply.size();
  return true;
}

int TcpSocket::Send(const char* data, int length) {
  Require(connection.connected, "nothing is sent before the connection completes");
  Require(length > 0, "a send carries bytes");
  const std::uint8_t step = fuzzsupport::Step(connection.sendStep++);
  if ((step & 0x20) != 0) {
    return kSocketWouldBlock;
  }
  const int accepted = fuzzsupport::ChunkSize(step, length);
  connection.sent.append(data, static_cast<std::size_t>(accepted));
  return accepted;
}

int TcpSocket::Receive(char* buffer, int capacity) {
  Require(connection.connected, "nothing is read before the connection completes");
  if (connection.pausesLeft > 0) {
    return kSocketWouldBlock;
  }
  const std::string_view reply = connection.script.reply;
  if (connection.received == reply.size()) {
    return connection.script.resetAtEnd ? kSocketFailed : 0;
  }
  const std::size_t size =
      std::min(static_cast<std::size_t>(fuzzsupport::ChunkSize(fuzzsupport::Step(connection.receiveStep), capacity)),
               reply.size() - connection.received);
  std::memcpy(buffer, reply.data() + connection.received, size);
  connection.received += size;
  connection.pausesLeft = fuzzsupport::Pauses(fuzzsupport::Step(++connection.receiveStep));
  return static_cast<int>(size);
}

// The scripted socket always has news or a pause to use up, so a wait on it
// ends at once: it watches a descriptor that is always ready.
FdWatch TcpSocket::Watch(bool sending) const {
  static const int alwaysReady = open("/dev/null", O_RDWR | O_CLOEXEC);
  FdWatch watch;
  watch.fd = alwaysReady;
  watch.forReading = true;
  watch.forWriting = sending;
  return watch;
}

}  // namespace platform
