// What the chunked decoding in front of a fetch's sink passes on, for replies
// handed to it whole, a byte at a time and split in two at every place.
#include "update/ChunkedSink.h"

#include "support/LoopbackServer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr char kChunkedHead[] = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";

// A chunk carrying data, its size in lower-case hexadecimal digits.
std::string Chunk(const std::string& data) {
  char size[16];
  std::snprintf(size, sizeof size, "%zx", data.size());
  return size + ("\r\n" + data + "\r\n");
}

// Keeps what it is given.
class RecordingSink final : public FetchSink {
 public:
  explicit RecordingSink(std::string* text) : text_(text) {}
  bool Store(const char* chunk, int length) override {
    text_->append(chunk, static_cast<std::size_t>(length));
    return true;
  }
  int Complete() override { return static_cast<int>(text_->size()); }

 private:
  std::string* text_;
};

enum class Outcome {
  kPlain,      // passed on byte for byte, over when the server closes
  kDecoded,    // the body decoded, over by its own framing
  kCutShort,   // every byte taken, but the chunked body is not over
  kMalformed,  // refused
};

struct Fed {
  Outcome outcome;
  std::string passed;
  int passedCount;
};

// Feeds the reply in pieces that end at the given places.
Fed Feed(const std::string& reply, const std::vector<std::size_t>& ends) {
  std::string passed;
  ChunkedSink sink(std::make_unique<RecordingSink>(&passed));
  std::size_t start = 0;
  for (const std::size_t end : ends) {
    if (!sink.Store(reply.data() + start, static_cast<int>(end - start))) {
      return {Outcome::kMalformed, passed, sink.Passed()};
    }
    start = end;
  }
  if (sink.Ended()) {
    EXPECT_TRUE(sink.Whole());
    return {Outcome::kDecoded, passed, sink.Passed()};
  }
  return {sink.Whole() ? Outcome::kPlain : Outcome::kCutShort, passed, sink.Passed()};
}

std::string Describe(const std::string& reply, const std::vector<std::size_t>& ends) {
  std::string text = "split after";
  for (const std::size_t end : ends) {
    text += " " + std::to_string(end);
  }
  return text + " of: " + reply;
}

struct Case {
  std::string reply;
  Outcome outcome;
  std::string passed;  // for kPlain and kDecoded; empty means the reply itself for kPlain
};

const std::string kSiteBody = "MRVDOWNLOADSITEKEY=http://127.0.0.1/patch/MRVPatch.exe\n";
const std::string kNginxHead =
    "HTTP/1.1 200 OK\r\nServer: nginx/1.22.1\r\nContent-Type: text/html; charset=UTF-8\r\n"
    "Transfer-Encoding: chunked\r\nConnection: close\r\n\r\n";
const std::string kHead = kChunkedHead;

const Case kCases[] = {
    // Decoded: the head as received, then the chunks' data only.
    {kNginxHead + Chunk(kSiteBody) + "0\r\n\r\n", Outcome::kDecoded, kNginxHead + kSiteBody},
    {kHead + "A;name=value\r\n0123456789\r\n1 ; x=\"y\"\r\n!\r\n0\r\n\r\n", Outcome::kDecoded, kHead + "0123456789!"},
    {kHead + "0000000000000000000002\r\nok\r\n0\r\n\r\n", Outcome::kDecoded, kHead + "ok"},
    {kHead + "2\r\nok\r\n0\r\nX-Sum: 1\r\nX-Other: 2\r\n\r\n", Outcome::kDecoded, kHead + "ok"},
    {kHead + "2\r\nok\r\n0\r\n\r\nHTTP/1.1 200 OK\r\n\r\nmore", Outcome::kDecoded, kHead + "ok"},
    {kHead + "0\r\n\r\n", Outcome::kDecoded, kHead},
    {kHead + Chunk("a\r\n0\r\n\r\n") + "0\r\n\r\n", Outcome::kDecoded, kHead + "a\r\n0\r\n\r\n"},
    {"HTTP/1.1 200 OK\r\ntransfer-encoding:  gzip , CHUNKED \r\n\r\n" + Chunk("ok") + "0\r\n\r\n", Outcome::kDecoded,
     "HTTP/1.1 200 OK\r\ntransfer-encoding:  gzip , CHUNKED \r\n\r\nok"},
    {"HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip\r\nTransfer-Encoding: chunked,\r\n\r\n" + Chunk("ok") + "0\r\n\r\n",
     Outcome::kDecoded, "HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip\r\nTransfer-Encoding: chunked,\r\n\r\nok"},
    {"HTTP/1.1 200 OK\nTransfer-Encoding: chunked\n\n" + Chunk("ok") + "0\r\n\r\n", Outcome::kDecoded,
     "HTTP/1.1 200 OK\nTransfer-Encoding: chunked\n\nok"},
    // Not chunked: byte for byte.
    {HttpReply("hello"), Outcome::kPlain, ""},
    {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked, identity\r\n\r\n2\r\nok\r\n0\r\n\r\n", Outcome::kPlain, ""},
    {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nTransfer-Encoding: gzip\r\n\r\n2\r\nok\r\n", Outcome::kPlain,
     ""},
    {"HTTP/1.1 200 OK\r\nX-Transfer-Encoding: chunked\r\n\r\n2\r\nok\r\n", Outcome::kPlain, ""},
    {"HTTP/1.1 200 OK\r\nTransfer-Encodings: chunked\r\n\r\n2\r\nok\r\n", Outcome::kPlain, ""},
    {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunkedx\r\n\r\n2\r\nok\r\n", Outcome::kPlain, ""},
    {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked x\r\n\r\n2\r\nok\r\n", Outcome::kPlain, ""},
    {"HTTP/1.1 200 OK\r\n\rTransfer-Encoding: chunked\r\n\r\n2\r\nok\r\n", Outcome::kPlain, ""},
    {"HTTP/1.1 200 OK\r\n\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nok\r\n", Outcome::kPlain, ""},
    {"Transfer-Encoding: chunked\r\n\r\n2\r\nok\r\n", Outcome::kPlain, ""},
    {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n", Outcome::kPlain, ""},
    {"MRVVERSION2.0.1.0.4", Outcome::kPlain, ""},
    // A chunked body that ends before its last chunk and the empty line.
    {kHead, Outcome::kCutShort, kHead},
    {kHead + "2", Outcome::kCutShort, kHead},
    {kHead + "2\r\no", Outcome::kCutShort, kHead + "o"},
    {kHead + "2\r\nok\r\n", Outcome::kCutShort, kHead + "ok"},
    {kHead + "2\r\nok\r\n0\r\n", Outcome::kCutShort, kHead + "ok"},
    {kHead + "2\r\nok\r\n0\r\nX-Sum: 1\r\n", Outcome::kCutShort, kHead + "ok"},
    {kHead + "10\r\nok\r\n0\r\n\r\n", Outcome::kCutShort, kHead + "ok\r\n0\r\n\r\n"},
    {kHead + "7fffffff\r\n", Outcome::kCutShort, kHead},
    // Malformed framing.
    {kHead + "zz\r\nok\r\n0\r\n\r\n", Outcome::kMalformed, ""},
    {kHead + "\r\n2\r\nok\r\n0\r\n\r\n", Outcome::kMalformed, ""},
    {kHead + "-2\r\nok\r\n0\r\n\r\n", Outcome::kMalformed, ""},
    {kHead + "2\nok\r\n0\r\n\r\n", Outcome::kMalformed, ""},
    {kHead + "2;x\nok\r\n0\r\n\r\n", Outcome::kMalformed, ""},
    {kHead + "2\r\nokk\r\n0\r\n\r\n", Outcome::kMalformed, ""},
    {kHead + "2\r\nok\n0\r\n\r\n", Outcome::kMalformed, ""},
    {kHead + "2\r\nok\r0\r\n\r\n", Outcome::kMalformed, ""},
    {kHead + "80000000\r\n", Outcome::kMalformed, ""},
    {kHead + "1" + std::string(16, '0') + "\r\n", Outcome::kMalformed, ""},
    {kHead + "2;" + std::string(ChunkedSink::kMaxSizeLineBytes, 'x') + "\r\nok\r\n0\r\n\r\n", Outcome::kMalformed, ""},
    {kHead + "0\r\nX: 1\n\r\n", Outcome::kMalformed, ""},
    {kHead + "0\r\n\n", Outcome::kMalformed, ""},
    {kHead + "0\r\n\r\r", Outcome::kMalformed, ""},
    {kHead + "0\r\nX: " + std::string(ChunkedSink::kMaxTrailerBytes, 't') + "\r\n\r\n", Outcome::kMalformed, ""},
};

}  // namespace

TEST(ChunkedSink, PassesTheHeadAndTheDecodedBodyHoweverTheReplyIsSplit) {
  for (const Case& c : kCases) {
    const std::string& reply = c.reply;
    const std::string expected = c.outcome == Outcome::kPlain && c.passed.empty() ? reply : c.passed;
    std::vector<std::vector<std::size_t>> splits = {{reply.size()}};
    std::vector<std::size_t> bytes;
    for (std::size_t end = 1; end <= reply.size(); ++end) {
      bytes.push_back(end);
      splits.push_back({end, reply.size()});
    }
    splits.push_back(bytes);
    for (const auto& ends : splits) {
      const Fed fed = Feed(reply, ends);
      ASSERT_EQ(fed.outcome, c.outcome) << Describe(reply, ends);
      if (c.outcome != Outcome::kMalformed) {
        ASSERT_EQ(fed.passed, expected) << Describe(reply, ends);
        ASSERT_EQ(fed.passedCount, int(expected.size())) << Describe(reply, ends);
      }
    }
  }
}
