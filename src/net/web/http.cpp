// The network in the web builds: the JavaScript side of each program does the
// exchange (web/node_http.js under Node, web/page_http.js in the page) and
// hands back its answer as JSON.
#include "net/http.h"

#include <algorithm>
#include <cstdlib>
#include <nlohmann/json.hpp>

extern "C" {
// {"status", "body", "retryAfter"} or {"failure": "connect" | "timeout" | "address" |
// "large" | "other", "detail"}, allocated with malloc.
char* rapiko_http_exchange(const char* method, const char* url, const char* body, int timeoutMs,
                           int maxBytes);
}

namespace net {

bool Available() { return true; }

Reply Exchange(const std::string& method, const std::string& url, const std::string& body,
               int timeoutMs) {
  char* answer = rapiko_http_exchange(method.c_str(), url.c_str(), body.c_str(), timeoutMs,
                                      static_cast<int>(kMaxReplyBytes));
  const auto j = nlohmann::json::parse(answer ? answer : "", nullptr, false);
  std::free(answer);
  Reply reply;
  if (j.is_object() && j.contains("status") && j.at("status").is_number_integer()) {
    reply.status = j.at("status").get<int>();
    reply.body = j.value("body", "");
    reply.retryAfter = std::min(j.value("retryAfter", 0), 86400);
    return reply;
  }
  const std::string failure = j.is_object() ? j.value("failure", "other") : "other";
  const Failure kind = failure == "connect"   ? Failure::kNoConnection
                       : failure == "timeout" ? Failure::kTimeout
                       : failure == "address" ? Failure::kBadAddress
                       : failure == "large"   ? Failure::kTooLarge
                                              : Failure::kOther;
  reply.error = FailureText(kind, timeoutMs, j.is_object() ? j.value("detail", "") : "");
  return reply;
}

}  // namespace net
