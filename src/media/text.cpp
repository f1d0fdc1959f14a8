// Decoding of the game's text bytes: UTF-8 where valid, Latin-1 otherwise.
#include "media/text.h"

#include <cstddef>
#include <cstdint>

namespace media {
namespace {

bool IsContinuation(uint8_t b) { return (b & 0xC0) == 0x80; }

// The length of the valid UTF-8 sequence at bytes[i] and its code point, or
// 0 when the byte does not start one (overlong forms, surrogates, values
// above U+10FFFF and cut-off sequences are not valid).
size_t ValidSequence(const std::string& bytes, size_t i, char32_t& cp) {
  const auto at = [&](size_t k) { return static_cast<uint8_t>(bytes[i + k]); };
  const size_t left = bytes.size() - i;
  const uint8_t b0 = at(0);
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  }
  size_t len = 0;
  char32_t min = 0;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    len = 2;
    cp = b0 & 0x1F;
    min = 0x80;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    len = 3;
    cp = b0 & 0x0F;
    min = 0x800;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    len = 4;
    cp = b0 & 0x07;
    min = 0x10000;
  } else {
    return 0;
  }
  if (left < len) return 0;
  for (size_t k = 1; k < len; ++k) {
    if (!IsContinuation(at(k))) return 0;
    cp = (cp << 6) | (at(k) & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

}  // namespace

std::u32string DecodeGameText(const std::string& bytes) {
  std::u32string out;
  out.reserve(bytes.size());
  size_t i = 0;
  while (i < bytes.size()) {
    char32_t cp = 0;
    const size_t len = ValidSequence(bytes, i, cp);
    if (len == 0) {
      out.push_back(static_cast<uint8_t>(bytes[i]));
      ++i;
    } else {
      out.push_back(cp);
      i += len;
    }
  }
  return out;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;  // not encodable
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::string ToJsonUtf8(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char32_t cp : DecodeGameText(bytes)) AppendUtf8(out, cp);
  return out;
}

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  const auto unit = [&](size_t i) -> char32_t {
    const auto hi = static_cast<uint8_t>(bytes[bigEndian ? i : i + 1]);
    const auto lo = static_cast<uint8_t>(bytes[bigEndian ? i + 1 : i]);
    return static_cast<char32_t>(hi << 8 | lo);
  };
  std::string out;
  out.reserve(bytes.size());
  size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    char32_t cp = unit(i);
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < bytes.size()) {
      const char32_t low = unit(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    AppendUtf8(out, cp);  // a surrogate left unpaired becomes U+FFFD
  }
  if (i < bytes.size()) AppendUtf8(out, 0xFFFD);
  return out;
}

}  // namespace media
