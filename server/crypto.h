// The server's few uses of cryptography: hashes, signatures, random tokens.
#pragma once

#include <optional>
#include <string>

namespace server {

// SHA-256 of data, as 64 lower-case hex digits.
std::string Sha256Hex(const std::string& data);
// HMAC-SHA-256 of data under key, as its 32 raw bytes.
std::string HmacSha256(const std::string& key, const std::string& data);
// Base64 with the URL's alphabet and no padding, and back (nothing for text
// that is not such).
std::string Base64Url(const std::string& bytes);
std::optional<std::string> FromBase64Url(const std::string& text);
// count random bytes from the system's generator, in Base64Url.
std::string RandomToken(int count);
// Whether a and b are equal, in a time that does not tell where they differ.
bool SameSecret(const std::string& a, const std::string& b);

}  // namespace server
