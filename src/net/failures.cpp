// Why an exchange got no answer, in the same words on every platform.
#include "net/http.h"

namespace net {

std::string FailureText(Failure failure, int timeoutMs, const std::string& detail) {
  switch (failure) {
    case Failure::kNoNetwork:
      return "this build of the game has no online play (built without a network library)";
    case Failure::kBadAddress:
      return "the server's address cannot be used";
    case Failure::kNoConnection:
      return "cannot reach the server";
    case Failure::kTimeout:
      return "no answer from the server within " + std::to_string(timeoutMs) + " ms";
    case Failure::kTooLarge:
      return "the server's answer is too large";
    case Failure::kOther:
      break;
  }
  return "the exchange with the server failed" + (detail.empty() ? "" : ": " + detail);
}

}  // namespace net
