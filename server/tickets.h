// Tickets: what the server promised a round, signed so that any server
// process holding the secret can check it without shared memory.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace server {

struct Ticket {
  std::string id;         // random; a round spends it once (a unique key)
  uint32_t seed = 0;      // the round's seed
  std::string list;       // the list's name
  std::string wordsHash;  // of the list's words: a changed list refuses old tickets
  int rules = 0;          // the rules' version it was made under
  int64_t issuedMs = 0;   // Unix time in milliseconds
  int64_t expiresMs = 0;
};

class TicketSigner {
 public:
  explicit TicketSigner(std::string secret) : secret_(std::move(secret)) {}

  // "v1." payload "." signature, both Base64Url.
  std::string Sign(const Ticket& ticket) const;
  // The ticket text names, when this server's secret signed it.
  std::optional<Ticket> Read(const std::string& text) const;
  // The secret that names the round spent on a ticket: made from the
  // ticket, so that a retry gets it again and nothing needs storing.
  std::string ClaimOf(const std::string& ticketId) const;

 private:
  std::string secret_;
};

}  // namespace server
