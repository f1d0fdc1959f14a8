// Base64, the form in which a recording carries the bytes of a file on one line.
#include "replay/base64.h"

#include <cstdint>
#include <cstring>

namespace replay {
namespace {

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

}  // namespace

std::string Base64(const std::string& bytes) {
  std::string out;
  uint32_t bits = 0;
  int count = 0;
  for (const unsigned char c : bytes) {
    bits = (bits << 8) | c;
    count += 8;
    while (count >= 6) {
      count -= 6;
      out += kBase64[(bits >> count) & 63];
    }
  }
  if (count > 0) out += kBase64[(bits << (6 - count)) & 63];
  while (out.size() % 4 != 0) out += '=';
  return out;
}

std::string FromBase64(const std::string& text) {
  std::string out;
  uint32_t bits = 0;
  int count = 0;
  for (const char c : text) {
    const char* at = std::strchr(kBase64, c);
    if (c == '\0' || at == nullptr) break;
    bits = (bits << 6) | static_cast<uint32_t>(at - kBase64);
    count += 6;
    if (count >= 8) {
      count -= 8;
      out += static_cast<char>((bits >> count) & 255);
    }
  }
  return out;
}

}  // namespace replay
