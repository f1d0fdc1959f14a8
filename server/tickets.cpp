// Tickets: what the server promised a round, signed so that any server
// process holding the secret can check it without shared memory.
#include "server/tickets.h"

#include <nlohmann/json.hpp>

#include "server/crypto.h"

namespace server {
namespace {

constexpr const char* kPrefix = "v1.";

}  // namespace

std::string TicketSigner::Sign(const Ticket& t) const {
  const nlohmann::json payload = {
      {"id", t.id},       {"seed", t.seed},       {"list", t.list},        {"words", t.wordsHash},
      {"rules", t.rules}, {"issued", t.issuedMs}, {"expires", t.expiresMs}};
  const std::string body = kPrefix + Base64Url(payload.dump());
  return body + "." + Base64Url(HmacSha256(secret_, "ticket:" + body));
}

std::optional<Ticket> TicketSigner::Read(const std::string& text) const {
  const std::size_t dot = text.rfind('.');
  if (text.rfind(kPrefix, 0) != 0 || dot == std::string::npos || dot < 3) return std::nullopt;
  const std::string body = text.substr(0, dot);
  const auto mac = FromBase64Url(text.substr(dot + 1));
  if (!mac || !SameSecret(*mac, HmacSha256(secret_, "ticket:" + body))) return std::nullopt;
  const auto payload = FromBase64Url(body.substr(3));
  if (!payload) return std::nullopt;
  try {
    const nlohmann::json j = nlohmann::json::parse(*payload);
    return Ticket{.id = j.at("id"),
                  .seed = j.at("seed"),
                  .list = j.at("list"),
                  .wordsHash = j.at("words"),
                  .rules = j.at("rules"),
                  .issuedMs = j.at("issued"),
                  .expiresMs = j.at("expires")};
  } catch (const nlohmann::json::exception&) {
    return std::nullopt;
  }
}

std::string TicketSigner::ClaimOf(const std::string& ticketId) const {
  return Base64Url(HmacSha256(secret_, "claim:" + ticketId));
}

}  // namespace server
