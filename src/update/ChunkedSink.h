// The sink in front of a fetch's own sink that takes the chunked transfer
// coding off a reply's body, so that callers read the body's text and never
// its framing.
//
// The status line and the header lines, up to and with the empty line, are
// passed on as received. When the last coding named by the Transfer-Encoding
// headers (name and coding in any case) is "chunked", the body is passed on
// decoded: the chunks' data only, without their sizes, extensions and line
// ends, the last chunk or the trailers; whatever follows the trailers is
// ignored. Any other reply, and a reply that ends within its headers, is
// passed on byte for byte.
#pragma once

#include "update/FetchSink.h"

#include <memory>
#include <string>

class ChunkedSink final : public FetchSink {
 public:
  // Framing beyond these bounds is malformed: one chunk-size line with its
  // extensions and line end, and the trailer lines together.
  static constexpr int kMaxSizeLineBytes = 1024;
  static constexpr int kMaxTrailerBytes = 8192;

  explicit ChunkedSink(std::unique_ptr<FetchSink> target);

  // Reads the next bytes of the reply and passes on what they carry; false
  // when the target refuses them or the chunked framing is malformed (a size
  // line that is not hexadecimal digits, optional extensions and CR LF, or
  // is too long; chunk data not followed by CR LF; a size beyond the int
  // range; trailers too long or not ended by CR LF). A refused chunk
  // refuses everything after it.
  bool Store(const char* chunk, int length) override;
  // Whether the reply is over by its own framing: a chunked body whose last
  // chunk and trailers are in. Another reply is over only when the server
  // closes the connection.
  bool Ended() const;
  // Whether what has arrived is a whole reply if the server closes now:
  // false only for a chunked body cut short.
  bool Whole() const;
  // Hands the reply over to the target and returns its result; only for a
  // whole reply.
  int Complete() override;

  // The bytes passed on to the target so far.
  int Passed() const { return passed_; }

 private:
  enum class Part {
    kStatusLine,   // the first line, up to its LF
    kLineStart,    // the first byte of a header line or of the empty line
    kEmptyLineLf,  // a CR started the line: LF ends the headers
    kName,         // a header's name, up to its colon
    kValue,        // a header's value, up to its LF
    kPlain,        // a body that is not chunked
    kSize,         // a chunk's size in hexadecimal digits
    kExtensions,   // after the size, up to the size line's CR
    kSizeLf,       // the size line's LF
    kData,         // a chunk's data
    kDataCr,       // the CR and LF after a chunk's data
    kDataLf,
    kTrailerStart,  // the first byte of a trailer line or of the empty line
    kTrailer,       // a trailer line, up to its CR
    kTrailerLf,
    kEndLf,      // the empty line's LF after the last chunk
    kEnded,      // the chunked body is over
    kMalformed,  // sticky
  };

  bool InHead() const;
  // The number of bytes at the front of bytes that belong to the headers,
  // reading them as it goes.
  int ReadHead(const char* bytes, int length);
  void ReadHeadByte(char c);
  // The end of one element of a Transfer-Encoding list.
  void EndCoding();
  // Reads the chunked framing; false once it is malformed.
  bool ReadBody(const char* bytes, int length);
  Part ReadFramingByte(char c);
  bool Pass(const char* bytes, int length);

  std::unique_ptr<FetchSink> target_;
  Part part_ = Part::kStatusLine;
  // The header's name as far as it can still be "Transfer-Encoding".
  std::string name_;
  bool inTransferEncoding_ = false;
  // The current coding of a Transfer-Encoding list, blanks collapsed; cut
  // once it is too long to be "chunked".
  std::string coding_;
  bool codingBlank_ = false;
  bool chunked_ = false;
  // The size line read so far, the chunk's size, and its data still to come.
  int sizeLineBytes_ = 0;
  int sizeDigits_ = 0;
  long long size_ = 0;
  long long dataLeft_ = 0;
  int trailerBytes_ = 0;
  int passed_ = 0;
};
