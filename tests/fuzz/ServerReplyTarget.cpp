// A reply to an update query, read through the HTTP engine's real wait cycle
// from a scripted socket (ScriptedSocket.h) that takes the request and hands
// the reply out in chunks of varying size, with polls that find nothing in
// between. The fetch must hand back what the chunked decoding passes on when
// it is fed the reply in a few large pieces.
//
// Input: byte 0 chooses the end of the stream (bit 0: the connection breaks,
// else the server closes it) and the polls before the connection completes
// (bits 1 to 3); bytes 1 to 8 are the socket's rhythm; the rest is the reply.
#include "FuzzTarget.h"
#include "ScriptedSocket.h"
#include "update/ChunkedSink.h"
#include "update/DownloadBuffer.h"
#include "update/HttpFetch.h"
#include "update/HttpRequest.h"
#include "update/MemorySink.h"
#include "update/StartSockets.h"
#include "update/UrlParts.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr char kUrl[] = "http://127.0.0.1/latest_version/mrv/2.0.x.x.x/version.php";
constexpr std::size_t kRhythmBytes = 8;
// The memory sink takes no more than one growth's worth in one store, as
// the HTTP engine, reading a buffer at a time, never gives it.
constexpr std::size_t kStoreBytes = MemorySink::kCapacityGrowth;

// What the fetch must hand back: the reply as the chunked decoding passes it
// on; none when the decoding refuses it, when the server closes the
// connection within a chunked body, or when the connection breaks before a
// chunked body's own framing has ended the reply.
std::optional<std::string> Expected(std::string_view reply, bool reset) {
  char* block = nullptr;
  ChunkedSink sink(MemorySink::Open(&block));
  for (std::size_t at = 0; at < reply.size() && !sink.Ended(); at += kStoreBytes) {
    const std::string_view read = reply.substr(at, kStoreBytes);
    if (!sink.Store(read.data(), static_cast<int>(read.size()))) {
      return std::nullopt;
    }
  }
  if (!sink.Ended() && (reset || !sink.Whole())) {
    return std::nullopt;
  }
  const int length = sink.Complete();
  const DownloadBuffer::Owner owner(block);
  return std::string(block, static_cast<std::size_t>(length));
}

}  // namespace

void FuzzInitialize() {}

int FuzzOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  const bool reset = (data[0] & 0x01) != 0;
  const std::size_t rhythmBytes = std::min(size - 1, kRhythmBytes);
  fuzzsupport::SocketScript script;
  script.rhythm = {data + 1, rhythmBytes};
  script.reply = {reinterpret_cast<const char*>(data + 1 + rhythmBytes), size - 1 - rhythmBytes};
  script.connectPauses = (data[0] >> 1) & 0x07;
  script.resetAtEnd = reset;
  fuzzsupport::UseSocketScript(script);

  Require(StartSockets(), "sockets start");
  char* block = nullptr;
  const int result = HttpFetch(kUrl, &block, 1, 1, nullptr, nullptr);
  CleanupSockets();
  const DownloadBuffer::Owner owner(block);
  const std::optional<std::string> expected = Expected(script.reply, reset);
  if (!expected) {
    Require(block == nullptr && result == 0, "a broken connection or a refused reply fails the fetch");
  } else {
    Require(block != nullptr, "a closed connection or a chunked body's end completes the fetch");
    Require(static_cast<std::size_t>(result) == expected->size() &&
                std::memcmp(block, expected->data(), expected->size()) == 0 && block[result] == '\0',
            "the block holds the decoded reply, terminated");
  }
  const std::string request = BuildRequest(*SplitUrl(kUrl), true);
  Require(request.starts_with(fuzzsupport::SentBytes()), "the bytes sent are the request's");
  return 0;
}
