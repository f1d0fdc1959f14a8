// The HTTP API under /api/v1 (docs/online-api.md): each request's checks and answer.
#include "server/api.h"

#include <chrono>
#include <nlohmann/json.hpp>
#include <thread>

#include "ranking/rank_key.h"
#include "server/clock.h"
#include "server/crypto.h"
#include "server/verify.h"
#include "state/game_state.h"
#include "state/rules_version.h"

namespace server {
namespace {

using json = nlohmann::json;
using httplib::Request;
using httplib::Response;

constexpr std::size_t kMaxBodyBytes = std::size_t{1} << 20;
constexpr int64_t kRoundMs = state::kRoundLengthMs;
constexpr std::size_t kMaxNameBytes = 10;
constexpr int kWorkerWaitSeconds = 5;

void Answer(Response& res, int status, const json& body) {
  res.status = status;
  res.set_content(body.dump(), "application/json");
}

// Where refusals are counted: the one API's metrics.
Metrics* counted = nullptr;

// A refusal: its status, a short reason for the metrics, and one line.
void Refuse(Response& res, int status, const char* reason, const std::string& line) {
  if (counted) counted->Refusal(status, reason);
  Answer(res, status, {{"error", line}});
}

// The route a path takes, its round or list left out (the metrics' label).
std::string RouteOf(const std::string& path) {
  for (const char* known : {"/healthz", "/api/v1/lists", "/api/v1/tickets", "/api/v1/rounds"}) {
    if (path == known) return path;
  }
  if (path.starts_with("/api/v1/boards/")) return "/api/v1/boards/:list";
  if (path.starts_with("/api/v1/rounds/")) {
    const std::size_t slash = path.find('/', 15);
    return "/api/v1/rounds/:id" + (slash == std::string::npos ? "" : path.substr(slash));
  }
  return "other";
}

// The body as a JSON object, or a 400 already answered.
std::optional<json> BodyOf(const Request& req, Response& res) {
  json body = json::parse(req.body, nullptr, false);
  if (body.is_discarded() || !body.is_object()) {
    Refuse(res, 400, "malformed", "the body is not a JSON object");
    return std::nullopt;
  }
  return body;
}

// Member name of body as T, or a 400 answered.
template <class T>
std::optional<T> Member(const json& body, const char* name, Response& res) {
  const auto at = body.find(name);
  const bool fits = at != body.end() && (std::is_same_v<T, std::string> ? at->is_string()
                                         : std::is_same_v<T, json>      ? at->is_object()
                                                                        : at->is_number_integer());
  if (!fits) {
    Refuse(res, 400, "malformed",
           std::string("'") + name + "' is missing or not " +
               (std::is_same_v<T, std::string> ? "a string"
                : std::is_same_v<T, json>      ? "an object"
                                               : "a whole number"));
    return std::nullopt;
  }
  return at->get<T>();
}

std::optional<int64_t> IdOf(const Request& req, Response& res) {
  try {
    return std::stoll(req.matches[1]);
  } catch (const std::exception&) {
    Refuse(res, 404, "no_round", "no such round");
    return std::nullopt;
  }
}

void RefuseRules(Response& res, int rules) {
  if (counted) counted->Refusal(426, "rules");
  Answer(res, 426,
         {{"error", "this server replays the rules of version " +
                        std::to_string(state::kRulesVersion) + ", not " + std::to_string(rules) +
                        ": the game (or the server) needs an update"},
          {"rules", state::kRulesVersion}});
}

bool NameAllowed(const std::string& name) {
  if (name.empty() || name.size() > kMaxNameBytes) return false;
  bool blank = true;
  for (const char c : name) {
    if (c < ' ' || c > '~') return false;
    blank = blank && c == ' ';
  }
  return !blank;
}

uint32_t NewSeed() {
  const std::string bytes = *FromBase64Url(RandomToken(6));
  uint32_t seed = 0;
  for (int i = 0; i < 4; ++i) seed = (seed << 8) | static_cast<unsigned char>(bytes[i]);
  return seed;
}

}  // namespace

Api::Api(const Options& options, Store& store, const WordLists& lists, TicketSigner signer)
    : options_(options),
      store_(store),
      lists_(lists),
      signer_(std::move(signer)),
      limits_(options.rateLimit, options.openTickets) {
  const int workers = options.workers > 0
                          ? options.workers
                          : std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
  workerCount_ = std::min(workers, 1024);
  workers_ = std::make_unique<std::counting_semaphore<1024>>(workerCount_);
}

std::string Api::Address(const Request& req) const {
  if (!options_.trustedProxy.empty() && req.remote_addr == options_.trustedProxy &&
      req.has_header("X-Forwarded-For")) {
    // The proxy appends the address it saw last.
    std::string forwarded = req.get_header_value("X-Forwarded-For");
    const std::size_t comma = forwarded.rfind(',');
    if (comma != std::string::npos) forwarded.erase(0, comma + 1);
    const std::size_t first = forwarded.find_first_not_of(' ');
    return first == std::string::npos ? req.remote_addr : forwarded.substr(first);
  }
  return req.remote_addr;
}

void Api::Mount(httplib::Server& server) {
  counted = &metrics_;
  // Threads for the requests: enough that replays waiting for a worker leave
  // others (boards, tickets) their own.
  const std::size_t threads = std::max<std::size_t>(32, 4 * static_cast<std::size_t>(workerCount_));
  server.new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
  server.set_payload_max_length(kMaxBodyBytes);
  server.set_pre_routing_handler([this](const Request& req, Response& res) {
    metrics_.Request(RouteOf(req.path));
    if (!options_.allowOrigin.empty()) {
      res.set_header("Access-Control-Allow-Origin", options_.allowOrigin);
      res.set_header("Access-Control-Allow-Methods", "GET, POST, DELETE, OPTIONS");
      res.set_header("Access-Control-Allow-Headers", "Content-Type, Authorization");
      res.set_header("Vary", "Origin");
    }
    if (req.path == "/healthz") return httplib::Server::HandlerResponse::Unhandled;
    if (const int wait = limits_.Request(Address(req), NowMs())) {
      res.set_header("Retry-After", std::to_string(wait));
      Refuse(res, 429, "rate_limited",
             "too many requests from this address: try again in " + std::to_string(wait) + " s");
      return httplib::Server::HandlerResponse::Handled;
    }
    return httplib::Server::HandlerResponse::Unhandled;
  });
  server.set_error_handler([](const Request& req, Response& res) {
    if (!res.body.empty()) return;
    if (res.status == 413) {
      // The HTTP library takes no more than 8 KiB of a form.
      const bool form = req.get_header_value("Content-Type").starts_with("application/x-www-form");
      Refuse(res, 413, "too_large",
             form ? "a body sent as a form is over 8 KiB: send JSON, as application/json"
                  : "the body is over 1 MiB");
    } else if (res.status == 404) {
      Refuse(res, 404, "no_route", "no such request");
    } else {
      Refuse(res, res.status, "other", "refused (" + std::to_string(res.status) + ")");
    }
  });
  server.set_exception_handler([](const Request&, Response& res, std::exception_ptr e) {
    std::string why = "failed";
    try {
      std::rethrow_exception(e);
    } catch (const std::exception& x) {
      why = x.what();
    }
    Refuse(res, 500, "failed", "the server failed: " + why);
  });
  server.Options(".*", [](const Request&, Response& res) { res.status = 204; });
  server.Get("/healthz", [this](const Request&, Response& res) {
    if (store_.Healthy()) {
      Answer(res, 200, {{"status", "ok"}});
    } else {
      Refuse(res, 503, "database", "the database cannot be reached");
    }
  });
  server.Get("/api/v1/lists", [this](const Request&, Response& res) { Lists(res); });
  server.Post("/api/v1/tickets", [this](const Request& req, Response& res) { Tickets(req, res); });
  server.Post("/api/v1/rounds", [this](const Request& req, Response& res) { Rounds(req, res); });
  server.Post(R"(/api/v1/rounds/([^/]+)/name)",
              [this](const Request& req, Response& res) { Name(req, res); });
  server.Delete(R"(/api/v1/rounds/([^/]+))",
                [this](const Request& req, Response& res) { Delete(req, res); });
  server.Get(R"(/api/v1/rounds/([^/]+)/recording)",
             [this](const Request& req, Response& res) { Recording(req, res); });
  server.Get(R"(/api/v1/boards/([^/]+))",
             [this](const Request& req, Response& res) { Board(req, res); });
}

void Api::Lists(Response& res) {
  json lists = json::array();
  for (const WordList& list : lists_.All()) {
    lists.push_back({{"name", list.name}, {"words", list.words.size()}});
  }
  Answer(res, 200, {{"lists", lists}, {"rules", state::kRulesVersion}});
}

void Api::Tickets(const Request& req, Response& res) {
  const auto body = BodyOf(req, res);
  if (!body) return;
  const auto name = Member<std::string>(*body, "list", res);
  if (!name) return;
  const auto rules = Member<int64_t>(*body, "rules", res);
  if (!rules) return;
  if (*rules != state::kRulesVersion) return RefuseRules(res, static_cast<int>(*rules));
  const WordList* list = lists_.Find(*name);
  if (!list) return Refuse(res, 404, "no_list", "no word list '" + *name + "' on this server");
  const int64_t now = NowMs();
  const Ticket ticket{.id = RandomToken(16),
                      .seed = NewSeed(),
                      .list = list->name,
                      .wordsHash = list->hash,
                      .rules = state::kRulesVersion,
                      .issuedMs = now,
                      .expiresMs = now + kRoundMs + options_.slackSeconds * int64_t{1000}};
  if (const int wait = limits_.OpenTicket(Address(req), ticket.id, ticket.expiresMs, now)) {
    res.set_header("Retry-After", std::to_string(wait));
    return Refuse(res, 429, "open_tickets", "too many open tickets from this address");
  }
  Answer(res, 201,
         {{"ticket", signer_.Sign(ticket)},
          {"seed", ticket.seed},
          {"list", list->name},
          {"words", list->words},
          {"expires", IsoUtc(ticket.expiresMs)},
          {"notBefore", IsoUtc(options_.anyPace ? now : now + kRoundMs)}});
}

void Api::Rounds(const Request& req, Response& res) {
  const auto body = BodyOf(req, res);
  if (!body) return;
  const auto text = Member<std::string>(*body, "ticket", res);
  if (!text) return;
  const auto recording = Member<std::string>(*body, "recording", res);
  if (!recording) return;
  const auto claimed = Member<json>(*body, "claimed", res);
  if (!claimed) return;
  const auto claimedScore = Member<int64_t>(*claimed, "score", res);
  if (!claimedScore) return;
  const auto claimedLevel = Member<int64_t>(*claimed, "level", res);
  if (!claimedLevel) return;

  const auto ticket = signer_.Read(*text);
  if (!ticket)
    return Refuse(res, 422, "unknown_ticket",
                  "unknown ticket (damaged, or made by another server)");
  if (ticket->rules != state::kRulesVersion) return RefuseRules(res, ticket->rules);
  const std::string hash = Sha256Hex(*recording);
  const auto answer = [&](const Round& round) {
    json body = {{"id", round.id},
                 {"list", round.list},
                 {"score", round.score},
                 {"level", round.level},
                 {"maxLevel", round.maxLevel},
                 {"place", store_.PlaceOf(round)},
                 {"claim", signer_.ClaimOf(round.ticket)}};
    if (round.flagged) body["flagged"] = true;
    Answer(res, 201, body);
  };
  // A retry after a lost answer gets the first answer again.
  if (const auto spent = store_.FindRoundOfTicket(ticket->id)) {
    if (spent->recordingHash == hash) return answer(*spent);
    return Refuse(res, 409, "spent", "the ticket was spent on another recording");
  }
  const int64_t now = NowMs();
  if (now > ticket->expiresMs) {
    return Refuse(res, 410, "expired",
                  "the ticket expired: the round came later than its 120 s and " +
                      std::to_string(options_.slackSeconds) + " s after it");
  }
  if (!options_.anyPace && now < ticket->issuedMs + kRoundMs) {
    return Refuse(res, 422, "too_soon",
                  "too soon: the round came sooner than its 120 s after its ticket");
  }
  const WordList* list = lists_.Find(ticket->list);
  if (!list || list->hash != ticket->wordsHash) {
    return Refuse(res, 422, "list_changed",
                  "the word list '" + ticket->list + "' changed since the ticket");
  }
  // A round waits a while for a worker, never in a queue longer than the
  // server's threads; past that it is told to come back.
  if (!workers_->try_acquire_for(std::chrono::seconds(kWorkerWaitSeconds))) {
    res.set_header("Retry-After", "1");
    return Refuse(res, 503, "busy", "every replay worker is busy: try again");
  }
  Verdict verdict;
  const auto began = std::chrono::steady_clock::now();
  try {
    verdict = ReplayRound({.seed = ticket->seed, .words = list->words}, *recording);
  } catch (...) {
    workers_->release();
    throw;
  }
  workers_->release();
  metrics_.Verification(
      verdict.refusal.empty(),
      std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count());
  if (!verdict.refusal.empty()) return Refuse(res, 422, "recording", verdict.refusal);
  const auto maxLevel = claimed->find("maxLevel");
  if (*claimedScore != verdict.score || *claimedLevel != verdict.level ||
      (maxLevel != claimed->end() && *maxLevel != verdict.maxLevel)) {
    return Refuse(res, 422, "no_match",
                  "the claimed result (score " + std::to_string(*claimedScore) + ", level " +
                      std::to_string(*claimedLevel) + ") does not match its keys (score " +
                      std::to_string(verdict.score) + ", level " + std::to_string(verdict.level) +
                      ")");
  }
  const Round stored = store_.AddRound(
      {.id = 0,
       .ticket = ticket->id,
       .list = list->name,
       .recording = *recording,
       .recordingHash = hash,
       .score = verdict.score,
       .level = verdict.level,
       .maxLevel = verdict.maxLevel,
       .rankKey = ranking::ComputeRankKey(verdict.level, verdict.maxLevel, verdict.score),
       .createdMs = now,
       .name = {},
       .hidden = false,
       .flagged = verdict.Inhuman()});
  // Another process may have spent it meanwhile.
  if (stored.recordingHash != hash) {
    return Refuse(res, 409, "spent", "the ticket was spent on another recording");
  }
  limits_.CloseTicket(Address(req), ticket->id);
  answer(stored);
}

void Api::Name(const Request& req, Response& res) {
  const auto id = IdOf(req, res);
  if (!id) return;
  const auto body = BodyOf(req, res);
  if (!body) return;
  const auto claim = Member<std::string>(*body, "claim", res);
  if (!claim) return;
  const auto name = Member<std::string>(*body, "name", res);
  if (!name) return;
  std::optional<std::string> token;
  if (body->contains("token")) {
    token = Member<std::string>(*body, "token", res);
    if (!token) return;
  }
  if (!NameAllowed(*name)) {
    return Refuse(res, 400, "bad_name",
                  "a name is 1 to 10 printable ASCII characters, not only blanks");
  }
  const auto round = store_.FindRound(*id);
  if (!round) return Refuse(res, 404, "no_round", "no such round");
  if (!SameSecret(*claim, signer_.ClaimOf(round->ticket))) {
    return Refuse(res, 403, "not_claim", "the claim is not this round's");
  }
  const std::string newToken = token ? "" : RandomToken(24);
  const std::string tokenHash = Sha256Hex(token ? *token : newToken);
  std::string holder = store_.NameHolder(*name).value_or("");
  const bool heldNow = holder.empty();
  if (heldNow) holder = store_.HoldName(*name, tokenHash, NowMs());
  if (!SameSecret(holder, tokenHash)) {
    return Refuse(res, 403, "name_held",
                  "the name '" + *name + "' is held by another player's token");
  }
  if (!store_.NameRound(*id, *name) && round->name != *name) {
    return Refuse(res, 409, "named", "the round already has a name");
  }
  Round named = *round;
  named.name = *name;
  json answer = {{"id", *id}, {"name", *name}, {"place", store_.PlaceOf(named)}};
  if (heldNow && !token) answer["token"] = newToken;
  Answer(res, 200, answer);
}

void Api::Delete(const Request& req, Response& res) {
  const auto id = IdOf(req, res);
  if (!id) return;
  const auto body = BodyOf(req, res);
  if (!body) return;
  const auto token = Member<std::string>(*body, "token", res);
  if (!token) return;
  const auto round = store_.FindRound(*id);
  if (!round) return Refuse(res, 404, "no_round", "no such round");
  const auto holder = round->name.empty() ? std::nullopt : store_.NameHolder(round->name);
  if (!holder || !SameSecret(*holder, Sha256Hex(*token))) {
    return Refuse(res, 403, "not_owner", "the token does not hold this round's name");
  }
  store_.DeleteRound(*id);
  res.status = 204;
}

void Api::Board(const Request& req, Response& res) {
  const std::string name = req.matches[1];
  const WordList* list = lists_.Find(name);
  if (!list) return Refuse(res, 404, "no_list", "no word list '" + name + "' on this server");
  const std::string period = req.has_param("period") ? req.get_param_value("period") : "all";
  const int64_t now = NowMs();
  int64_t since = 0;
  if (period == "day") {
    since = DayStartMs(now);
  } else if (period == "week") {
    since = WeekStartMs(now);
  } else if (period != "all") {
    return Refuse(res, 400, "bad_period", "period is day, week or all");
  }
  int limit = 10;
  if (req.has_param("limit")) {
    const std::string text = req.get_param_value("limit");
    limit = text.size() <= 3 && !text.empty() &&
                    text.find_first_not_of("0123456789") == std::string::npos
                ? std::stoi(text)
                : 0;
    if (limit < 1 || limit > 100) return Refuse(res, 400, "bad_limit", "limit is 1 to 100");
  }
  json entries = json::array();
  // A player sees their own rounds that only they are shown.
  const std::string auth = req.get_header_value("Authorization");
  const std::string viewer = auth.starts_with("Bearer ") ? Sha256Hex(auth.substr(7)) : "";
  for (const BoardEntry& e : store_.Board(list->name, since, limit, viewer)) {
    entries.push_back({{"place", entries.size() + 1},
                       {"name", e.name},
                       {"score", e.score},
                       {"level", e.level},
                       {"maxLevel", e.maxLevel},
                       {"date", IsoUtc(e.createdMs)},
                       {"round", e.round}});
  }
  Answer(res, 200, {{"list", list->name}, {"period", period}, {"entries", entries}});
}

void Api::Recording(const Request& req, Response& res) {
  const auto id = IdOf(req, res);
  if (!id) return;
  const auto round = store_.FindRound(*id);
  if (!round || round->name.empty() || round->hidden) {
    return Refuse(res, 404, "no_round", "no such round on a board");
  }
  res.status = 200;
  res.set_content(round->recording, "text/plain; charset=utf-8");
}

}  // namespace server
