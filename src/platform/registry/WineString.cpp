#include "platform/registry/WineString.h"

#include <glib.h>

namespace {

void AppendCodePoint(std::string& out, char32_t cp) {
  char bytes[6];
  out.append(bytes, static_cast<std::size_t>(g_unichar_to_utf8(cp, bytes)));
}

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

constexpr char32_t REPLACEMENT_CHARACTER = 0xFFFD;

// Collects UTF-16 code units and raw UTF-8 bytes into one UTF-8 text,
// joining a high surrogate with the low surrogate right after it.
class Utf8Builder {
 public:
  void Unit(char32_t unit) {
    if (highSurrogate_ != 0) {
      const char32_t high = highSurrogate_;
      highSurrogate_ = 0;
      if (IsLowSurrogate(unit)) {
        AppendCodePoint(text_, 0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00));
        return;
      }
      AppendCodePoint(text_, REPLACEMENT_CHARACTER);
    }
    if (IsHighSurrogate(unit)) {
      highSurrogate_ = unit;
    } else {
      AppendCodePoint(text_, IsLowSurrogate(unit) ? REPLACEMENT_CHARACTER : unit);
    }
  }

  void RawByte(char byte) {
    Flush();
    text_ += byte;
  }

  std::string Finish() {
    Flush();
    return std::move(text_);
  }

 private:
  void Flush() {
    if (highSurrogate_ != 0) {
      AppendCodePoint(text_, REPLACEMENT_CHARACTER);
      highSurrogate_ = 0;
    }
  }

  std::string text_;
  char32_t highSurrogate_ = 0;
};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsOctalDigit(char c) { return c >= '0' && c <= '7'; }

char32_t ControlEscape(char c) {
  switch (c) {
    case 'a':
      return '\a';
    case 'b':
      return '\b';
    case 'e':
      return 0x1B;
    case 'f':
      return '\f';
    case 'n':
      return '\n';
    case 'r':
      return '\r';
    case 't':
      return '\t';
    case 'v':
      return '\v';
    default:
      return 0;
  }
}

}  // namespace

std::optional<std::string> DecodeWineString(std::string_view text, char end, std::size_t* used) {
  Utf8Builder out;
  std::size_t i = 0;
  while (i < text.size() && text[i] != end) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out.RawByte(text[i++]);
      continue;
    }
    const char c = text[++i];
    if (const char32_t control = ControlEscape(c); control != 0) {
      out.Unit(control);
      ++i;
    } else if (c == 'x' && i + 1 < text.size() && HexDigit(text[i + 1]) >= 0) {
      char32_t unit = 0;
      for (int n = 0; n < 4 && i + 1 < text.size() && HexDigit(text[i + 1]) >= 0; ++n) {
        unit = unit * 16 + static_cast<char32_t>(HexDigit(text[++i]));
      }
      out.Unit(unit);
      ++i;
    } else if (IsOctalDigit(c)) {
      char32_t unit = static_cast<char32_t>(c - '0');
      for (int n = 0; n < 2 && i + 1 < text.size() && IsOctalDigit(text[i + 1]); ++n) {
        unit = unit * 8 + static_cast<char32_t>(text[++i] - '0');
      }
      out.Unit(unit);
      ++i;
    } else {
      out.RawByte(text[i++]);
    }
  }
  if (i == text.size()) {
    return std::nullopt;
  }
  *used = i;
  return out.Finish();
}
