// Limits per client address, kept in memory only (never stored).
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>

namespace server {

class AddressLimits {
 public:
  // perMinute requests a minute from one address, and openTickets tickets
  // unspent and unexpired at once; perMinute 0 turns both off.
  AddressLimits(int perMinute, int openTickets)
      : perMinute_(perMinute), openTickets_(openTickets) {}

  // Counts a request; 0 when it may go on, else the seconds to wait.
  int Request(const std::string& address, int64_t nowMs);
  // Counts a ticket made until expiresMs; 0 when it may be made, else the
  // seconds until one expires.
  int OpenTicket(const std::string& address, const std::string& id, int64_t expiresMs,
                 int64_t nowMs);
  // A ticket that was spent (or refused) no longer counts.
  void CloseTicket(const std::string& address, const std::string& id);

 private:
  struct Client {
    double tokens = 0;
    int64_t lastMs = 0;
    std::deque<std::pair<std::string, int64_t>> tickets;  // id, expiry
  };
  void Forget(int64_t nowMs);

  const int perMinute_;
  const int openTickets_;
  std::mutex mutex_;
  std::map<std::string, Client> clients_;
  int64_t sweptMs_ = 0;
};

}  // namespace server
