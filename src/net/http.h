// The game's one door to the network: a JSON request over HTTP(S) and its answer.
#pragma once

#include <cstddef>
#include <string>

namespace net {

// No answer of the ranking server comes near this (a round's recording is
// some 100 KB); a longer one is cut off and counts as no answer.
constexpr std::size_t kMaxReplyBytes = std::size_t{8} << 20;

struct Reply {
  int status = 0;      // the HTTP status; 0 when no answer came
  std::string body;    // the answer's body
  std::string error;   // with status 0: why, in one line
  int retryAfter = 0;  // the seconds a refusal (429, 503) asks to wait; 0 when it says none
};

// False in a build without a network library: every exchange then fails
// with NoNetworkText().
bool Available();

// Sends method ("GET", "POST" or "DELETE") to url, an http:// or https://
// address, with body as JSON (none when empty), and waits at most
// timeoutMs for the whole answer. Safe to call from any thread; never throws.
Reply Exchange(const std::string& method, const std::string& url, const std::string& body,
               int timeoutMs);

inline Reply PostJson(const std::string& url, const std::string& body, int timeoutMs) {
  return Exchange("POST", url, body, timeoutMs);
}
inline Reply GetJson(const std::string& url, int timeoutMs) {
  return Exchange("GET", url, "", timeoutMs);
}

// Why an exchange got no answer, the same words on every platform: each
// side maps its library's errors onto these.
enum class Failure { kNoNetwork, kBadAddress, kNoConnection, kTimeout, kTooLarge, kOther };
// One line; detail (the library's own words) is added for kOther alone.
std::string FailureText(Failure failure, int timeoutMs, const std::string& detail = "");
inline std::string NoNetworkText() { return FailureText(Failure::kNoNetwork, 0); }

}  // namespace net
