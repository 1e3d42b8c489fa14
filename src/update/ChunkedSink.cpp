#include "update/ChunkedSink.h"

#include <algorithm>
#include <cassert>
#include <climits>
#include <string_view>

namespace {

constexpr std::string_view kTransferEncoding = "transfer-encoding";
constexpr std::string_view kChunked = "chunked";

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// The value of a hexadecimal digit, -1 for any other character.
int HexValue(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  const char lower = Lower(c);
  return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

}  // namespace

ChunkedSink::ChunkedSink(std::unique_ptr<FetchSink> target) : target_(std::move(target)) { assert(target_ != nullptr); }

bool ChunkedSink::Store(const char* chunk, int length) {
  if (part_ == Part::kMalformed) {
    return false;
  }
  const int head = ReadHead(chunk, length);
  const bool passed = Pass(chunk, head) && (part_ == Part::kPlain ? Pass(chunk + head, length - head)
                                                                  : ReadBody(chunk + head, length - head));
  if (!passed) {
    part_ = Part::kMalformed;
  }
  return passed;
}

bool ChunkedSink::Ended() const { return part_ == Part::kEnded; }

bool ChunkedSink::Whole() const { return InHead() || part_ == Part::kPlain || part_ == Part::kEnded; }

bool ChunkedSink::InHead() const {
  switch (part_) {
    case Part::kStatusLine:
    case Part::kLineStart:
    case Part::kEmptyLineLf:
    case Part::kName:
    case Part::kValue:
      return true;
    default:
      return false;
  }
}

int ChunkedSink::Complete() {
  assert(Whole());
  return target_->Complete();
}

int ChunkedSink::ReadHead(const char* bytes, int length) {
  int read = 0;
  while (read < length && InHead()) {
    ReadHeadByte(bytes[read++]);
  }
  return read;
}

void ChunkedSink::ReadHeadByte(char c) {
  switch (part_) {
    case Part::kStatusLine:
      if (c == '\n') {
        part_ = Part::kLineStart;
      }
      return;
    case Part::kLineStart:
      if (c == '\r') {
        part_ = Part::kEmptyLineLf;
      } else if (c == '\n') {
        part_ = chunked_ ? Part::kSize : Part::kPlain;
      } else {
        name_.assign(1, Lower(c));
        part_ = Part::kName;
      }
      return;
    case Part::kEmptyLineLf:
      if (c == '\n') {
        part_ = chunked_ ? Part::kSize : Part::kPlain;
      } else {
        // A line that starts with CR and goes on names no header: a name
        // already longer than "Transfer-Encoding" never becomes it.
        name_.assign(kTransferEncoding.size() + 1, '\r');
        part_ = Part::kName;
      }
      return;
    case Part::kName:
      if (c == ':') {
        inTransferEncoding_ = name_ == kTransferEncoding;
        coding_.clear();
        codingBlank_ = false;
        part_ = Part::kValue;
      } else if (c == '\n') {
        part_ = Part::kLineStart;
      } else if (name_.size() <= kTransferEncoding.size()) {
        // One byte past the name is enough to tell a longer name apart.
        name_ += Lower(c);
      }
      return;
    case Part::kValue:
      if (c == '\n' || (c == ',' && inTransferEncoding_)) {
        if (inTransferEncoding_) {
          EndCoding();
        }
        if (c == '\n') {
          part_ = Part::kLineStart;
        }
      } else if (inTransferEncoding_ && IsBlank(c)) {
        codingBlank_ = !coding_.empty();
      } else if (inTransferEncoding_ && coding_.size() <= kChunked.size()) {
        if (codingBlank_) {
          coding_ += ' ';
          codingBlank_ = false;
        }
        coding_ += Lower(c);
      }
      return;
    default:
      assert(!"the head is read only until the body starts");
  }
}

void ChunkedSink::EndCoding() {
  // Empty elements of the list do not count.
  if (!coding_.empty()) {
    chunked_ = coding_ == kChunked;
  }
  coding_.clear();
  codingBlank_ = false;
}

bool ChunkedSink::ReadBody(const char* bytes, int length) {
  int read = 0;
  while (read < length) {
    if (part_ == Part::kEnded) {
      return true;
    }
    if (part_ == Part::kData) {
      const int data = static_cast<int>(std::min<long long>(dataLeft_, length - read));
      if (!Pass(bytes + read, data)) {
        return false;
      }
      read += data;
      dataLeft_ -= data;
      if (dataLeft_ == 0) {
        part_ = Part::kDataCr;
      }
      continue;
    }
    part_ = ReadFramingByte(bytes[read++]);
    if (part_ == Part::kMalformed) {
      return false;
    }
  }
  return true;
}

ChunkedSink::Part ChunkedSink::ReadFramingByte(char c) {
  switch (part_) {
    case Part::kSize:
    case Part::kExtensions:
    case Part::kSizeLf:
      if (++sizeLineBytes_ > kMaxSizeLineBytes) {
        return Part::kMalformed;
      }
      break;
    case Part::kTrailerStart:
    case Part::kTrailer:
    case Part::kTrailerLf:
    case Part::kEndLf:
      if (++trailerBytes_ > kMaxTrailerBytes) {
        return Part::kMalformed;
      }
      break;
    default:
      break;
  }
  switch (part_) {
    case Part::kSize:
      if (const int digit = HexValue(c); digit >= 0) {
        if (size_ > (INT_MAX - digit) / 16) {
          return Part::kMalformed;
        }
        size_ = size_ * 16 + digit;
        ++sizeDigits_;
        return Part::kSize;
      }
      if (sizeDigits_ == 0) {
        return Part::kMalformed;
      }
      if (c == '\r') {
        return Part::kSizeLf;
      }
      return c == ';' || c == ' ' || c == '\t' ? Part::kExtensions : Part::kMalformed;
    case Part::kExtensions:
      if (c == '\r') {
        return Part::kSizeLf;
      }
      return c == '\n' ? Part::kMalformed : Part::kExtensions;
    case Part::kSizeLf:
      if (c != '\n') {
        return Part::kMalformed;
      }
      if (size_ == 0) {
        return Part::kTrailerStart;
      }
      dataLeft_ = size_;
      return Part::kData;
    case Part::kDataCr:
      return c == '\r' ? Part::kDataLf : Part::kMalformed;
    case Part::kDataLf:
      if (c != '\n') {
        return Part::kMalformed;
      }
      sizeLineBytes_ = 0;
      sizeDigits_ = 0;
      size_ = 0;
      return Part::kSize;
    case Part::kTrailerStart:
      if (c == '\r') {
        return Part::kEndLf;
      }
      return c == '\n' ? Part::kMalformed : Part::kTrailer;
    case Part::kTrailer:
      if (c == '\r') {
        return Part::kTrailerLf;
      }
      return c == '\n' ? Part::kMalformed : Part::kTrailer;
    case Part::kTrailerLf:
      return c == '\n' ? Part::kTrailerStart : Part::kMalformed;
    case Part::kEndLf:
      return c == '\n' ? Part::kEnded : Part::kMalformed;
    default:
      assert(!"framing is read only inside a chunked body");
      return Part::kMalformed;
  }
}

bool ChunkedSink::Pass(const char* bytes, int length) {
  if (length == 0) {
    return true;
  }
  if (!target_->Store(bytes, length)) {
    return false;
  }
  passed_ += length;
  return true;
}
