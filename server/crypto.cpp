// The server's few uses of cryptography: hashes, signatures, random tokens.
#include "server/crypto.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/rand.h>

#include <stdexcept>

namespace server {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

}  // namespace

std::string Sha256Hex(const std::string& data) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  EVP_Digest(data.data(), data.size(), digest, &size, EVP_sha256(), nullptr);
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  for (unsigned int i = 0; i < size; ++i) {
    hex += kHex[digest[i] >> 4];
    hex += kHex[digest[i] & 15];
  }
  return hex;
}

std::string HmacSha256(const std::string& key, const std::string& data) {
  unsigned char mac[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  HMAC(EVP_sha256(), key.data(), static_cast<int>(key.size()),
       reinterpret_cast<const unsigned char*>(data.data()), data.size(), mac, &size);
  return std::string(reinterpret_cast<const char*>(mac), size);
}

std::string Base64Url(const std::string& bytes) {
  std::string text;
  uint32_t bits = 0;
  int held = 0;
  for (const unsigned char c : bytes) {
    bits = (bits << 8) | c;
    held += 8;
    while (held >= 6) {
      held -= 6;
      text += kAlphabet[(bits >> held) & 63];
    }
  }
  if (held > 0) text += kAlphabet[(bits << (6 - held)) & 63];
  return text;
}

std::optional<std::string> FromBase64Url(const std::string& text) {
  std::string bytes;
  uint32_t bits = 0;
  int held = 0;
  for (const char c : text) {
    const char* at = std::char_traits<char>::find(kAlphabet, 64, c);
    if (!at) return std::nullopt;
    bits = (bits << 6) | static_cast<uint32_t>(at - kAlphabet);
    held += 6;
    if (held >= 8) {
      held -= 8;
      bytes += static_cast<char>((bits >> held) & 255);
    }
  }
  return bytes;
}

std::string RandomToken(int count) {
  std::string bytes(static_cast<size_t>(count), '\0');
  if (RAND_bytes(reinterpret_cast<unsigned char*>(bytes.data()), count) != 1) {
    throw std::runtime_error("the system's random numbers cannot be read");
  }
  return Base64Url(bytes);
}

bool SameSecret(const std::string& a, const std::string& b) {
  return a.size() == b.size() && CRYPTO_memcmp(a.data(), b.data(), a.size()) == 0;
}

}  // namespace server
