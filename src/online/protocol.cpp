// What the game sends to an online ranking's server and reads from its answers.
#include "online/protocol.h"

#include <cctype>
#include <nlohmann/json.hpp>

#include "state/rules_version.h"

namespace online {
namespace {

using json = nlohmann::ordered_json;

json Parse(const std::string& body) { return json::parse(body, nullptr, false); }

// A member that may be missing or null.
template <typename T>
std::optional<T> Optional(const json& j, const char* name) {
  if (!j.contains(name) || j.at(name).is_null()) return std::nullopt;
  return j.at(name).get<T>();
}

}  // namespace

std::string BoardPath(const std::string& list) {
  // The name as one segment of the path: every byte but the unreserved ones escaped.
  std::string path = "api/v1/boards/";
  for (const unsigned char c : list) {
    if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~') {
      path += static_cast<char>(c);
    } else {
      path += '%';
      path += "0123456789ABCDEF"[c >> 4];
      path += "0123456789ABCDEF"[c & 15];
    }
  }
  return path + "?period=all&limit=10";
}

std::string TicketRequest(const std::string& list) {
  return json{{"list", list}, {"rules", state::kRulesVersion}}.dump();
}

std::string RoundRequest(const std::string& ticket, const std::string& recording, int32_t score,
                         int32_t level) {
  // Recordings are ASCII; a byte past it could only be damage, and is replaced.
  return json{{"ticket", ticket},
              {"recording", recording},
              {"claimed", {{"score", score}, {"level", level}}}}
      .dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string NameRequest(const std::string& claim, const std::string& name,
                        const std::string& token) {
  json request = {{"claim", claim}, {"name", name}};
  if (!token.empty()) request["token"] = token;
  return request.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::optional<Ticket> ReadTicket(const std::string& body) {
  const json j = Parse(body);
  try {
    Ticket t;
    t.ticket = j.at("ticket").get<std::string>();
    t.seed = j.at("seed").get<uint32_t>();
    t.list = j.at("list").get<std::string>();
    t.words = j.at("words").get<std::vector<std::string>>();
    if (t.ticket.empty() || t.words.empty()) return std::nullopt;
    return t;
  } catch (const json::exception&) {
    return std::nullopt;
  }
}

std::optional<Placed> ReadPlaced(const std::string& body) {
  const json j = Parse(body);
  try {
    Placed p;
    p.id = j.at("id").get<int64_t>();
    p.list = j.value("list", "");
    p.score = j.at("score").get<int32_t>();
    p.level = j.at("level").get<int32_t>();
    p.place = Optional<int64_t>(j, "place");
    p.claim = j.at("claim").get<std::string>();
    return p;
  } catch (const json::exception&) {
    return std::nullopt;
  }
}

std::optional<Named> ReadNamed(const std::string& body) {
  const json j = Parse(body);
  try {
    Named n;
    n.place = Optional<int64_t>(j, "place");
    n.token = Optional<std::string>(j, "token").value_or("");
    return n;
  } catch (const json::exception&) {
    return std::nullopt;
  }
}

std::optional<std::vector<state::BoardEntry>> ReadBoard(const std::string& body) {
  const json j = Parse(body);
  try {
    std::vector<state::BoardEntry> entries;
    for (const json& e : j.at("entries")) {
      entries.push_back({e.at("place").get<int64_t>(), e.at("name").get<std::string>(),
                         e.at("score").get<int32_t>(), e.at("level").get<int32_t>(),
                         e.value("round", int64_t{0})});
    }
    return entries;
  } catch (const json::exception&) {
    return std::nullopt;
  }
}

std::string ErrorOf(const net::Reply& reply) {
  if (reply.status == 0) return reply.error;
  const json j = Parse(reply.body);
  if (j.is_object() && j.contains("error") && j.at("error").is_string()) {
    std::string line = j.at("error").get<std::string>();
    line = line.substr(0, line.find('\n'));
    return "the server refused (" + std::to_string(reply.status) + "): " + line;
  }
  return "the server answered " + std::to_string(reply.status) + " with nothing the game reads";
}

std::string OutcomeLine(const Outcome& o) {
  json line = json::object();
  if (o.status != 0) line["status"] = o.status;
  if (o.id) line["id"] = *o.id;
  if (!o.list.empty()) line["list"] = o.list;
  if (o.score) line["score"] = *o.score;
  if (o.level) line["level"] = *o.level;
  if (o.place) line["place"] = *o.place;
  if (!o.error.empty()) line["error"] = o.error;
  return json{{"online", line}}.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string BoardLine(const Board& b) {
  json line = json::object();
  if (b.status != 0) line["status"] = b.status;
  line["list"] = b.list;
  if (b.error.empty()) {
    line["entries"] = json::array();
    for (const state::BoardEntry& e : b.entries) {
      line["entries"].push_back(
          {{"place", e.place}, {"name", e.name}, {"score", e.score}, {"level", e.level}});
    }
  } else {
    line["error"] = b.error;
  }
  return json{{"onlineBoard", line}}.dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace online
