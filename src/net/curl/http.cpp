// The network on Linux and other POSIX systems: libcurl.
#include "net/http.h"

#include <curl/curl.h>

#include <algorithm>

namespace net {
namespace {

// libcurl's global set-up, once, before the first exchange of any thread.
struct Global {
  Global() { curl_global_init(CURL_GLOBAL_DEFAULT); }
  ~Global() { curl_global_cleanup(); }
};

size_t Collect(char* data, size_t size, size_t count, void* into) {
  auto* body = static_cast<std::string*>(into);
  const size_t n = size * count;
  if (body->size() + n > kMaxReplyBytes) return 0;  // ends the exchange: CURLE_WRITE_ERROR
  body->append(data, n);
  return n;
}

Failure FailureOf(CURLcode code) {
  switch (code) {
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT:
      return Failure::kBadAddress;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT:
      return Failure::kNoConnection;
    case CURLE_OPERATION_TIMEDOUT:
      return Failure::kTimeout;
    case CURLE_WRITE_ERROR:
      return Failure::kTooLarge;
    default:
      return Failure::kOther;
  }
}

}  // namespace

bool Available() { return true; }

Reply Exchange(const std::string& method, const std::string& url, const std::string& body,
               int timeoutMs) {
  static Global global;
  Reply reply;
  CURL* curl = curl_easy_init();
  if (!curl) {
    reply.error = FailureText(Failure::kOther, timeoutMs, "libcurl could not start");
    return reply;
  }
  curl_slist* headers = curl_slist_append(nullptr, "Accept: application/json");
  if (!body.empty()) headers = curl_slist_append(headers, "Content-Type: application/json");
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, method.c_str());
  if (!body.empty() || method == "POST") {
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
  }
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(curl, CURLOPT_USERAGENT, "Rapiko");
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(timeoutMs));
  // Exchanges run on the game's own threads: no signals for the timeouts.
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Collect);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reply.body);
  const CURLcode code = curl_easy_perform(curl);
  if (code == CURLE_OK) {
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    reply.status = static_cast<int>(status);
    curl_off_t wait = 0;
    if (curl_easy_getinfo(curl, CURLINFO_RETRY_AFTER, &wait) == CURLE_OK && wait > 0) {
      reply.retryAfter = static_cast<int>(std::min<curl_off_t>(wait, 86400));
    }
  } else {
    reply.body.clear();
    reply.error = FailureText(FailureOf(code), timeoutMs, curl_easy_strerror(code));
  }
  curl_slist_free_all(headers);
  curl_easy_cleanup(curl);
  return reply;
}

}  // namespace net
