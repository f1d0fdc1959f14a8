// A build without a network library: the game plays offline, and says so.
#include "net/http.h"

namespace net {

bool Available() { return false; }

Reply Exchange(const std::string&, const std::string&, const std::string&, int) {
  Reply reply;
  reply.error = NoNetworkText();
  return reply;
}

}  // namespace net
