// Limits per client address, kept in memory only (never stored).
#include "server/limits.h"

#include <algorithm>
#include <cmath>

namespace server {

int AddressLimits::Request(const std::string& address, int64_t nowMs) {
  if (perMinute_ == 0) return 0;
  std::lock_guard lock(mutex_);
  Forget(nowMs);
  // A bucket of perMinute requests, filled at perMinute a minute.
  auto [at, added] = clients_.try_emplace(address);
  Client& c = at->second;
  const double perMs = perMinute_ / 60000.0;
  c.tokens = added ? perMinute_
                   : std::min<double>(perMinute_, c.tokens + perMs * double(nowMs - c.lastMs));
  c.lastMs = nowMs;
  if (c.tokens >= 1) {
    c.tokens -= 1;
    return 0;
  }
  return std::max(1, static_cast<int>(std::ceil((1 - c.tokens) / perMs / 1000)));
}

int AddressLimits::OpenTicket(const std::string& address, const std::string& id, int64_t expiresMs,
                              int64_t nowMs) {
  if (perMinute_ == 0) return 0;
  std::lock_guard lock(mutex_);
  Client& c = clients_[address];
  std::erase_if(c.tickets, [nowMs](const auto& t) { return t.second <= nowMs; });
  if (static_cast<int>(c.tickets.size()) >= openTickets_) {
    int64_t first = c.tickets.front().second;
    for (const auto& t : c.tickets) first = std::min(first, t.second);
    return std::max<int>(1, static_cast<int>((first - nowMs + 999) / 1000));
  }
  c.tickets.emplace_back(id, expiresMs);
  return 0;
}

void AddressLimits::CloseTicket(const std::string& address, const std::string& id) {
  std::lock_guard lock(mutex_);
  const auto at = clients_.find(address);
  if (at == clients_.end()) return;
  std::erase_if(at->second.tickets, [&id](const auto& t) { return t.first == id; });
}

// Addresses quiet for a while are dropped, so memory stays bounded.
void AddressLimits::Forget(int64_t nowMs) {
  if (nowMs - sweptMs_ < 60000) return;
  sweptMs_ = nowMs;
  std::erase_if(clients_, [nowMs](const auto& entry) {
    return entry.second.tickets.empty() && nowMs - entry.second.lastMs > 120000;
  });
}

}  // namespace server
