// The HTTP API under /api/v1 (docs/online-api.md): its routes, the limits
// every request passes, tickets, lists, boards, and a round's start and recording to watch.
#include "server/api.h"

#include <thread>

#include "server/answers.h"
#include "server/clock.h"
#include "server/crypto.h"
#include "state/game_state.h"
#include "state/rules_version.h"

namespace server {
namespace {

using httplib::Request;
using httplib::Response;

constexpr std::size_t kMaxBodyBytes = std::size_t{1} << 20;
constexpr int64_t kRoundMs = state::kRoundLengthMs;

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

uint32_t NewSeed() {
  const std::string bytes = *FromBase64Url(RandomToken(6));
  uint32_t seed = 0;
  for (int i = 0; i < 4; ++i) seed = (seed << 8) | static_cast<unsigned char>(bytes[i]);
  return seed;
}

// The hash of the token a request shows (Authorization: Bearer TOKEN), or
// empty: whose own flagged rounds it may see.
std::string ViewerHash(const Request& req) {
  const std::string auth = req.get_header_value("Authorization");
  return auth.starts_with("Bearer ") ? Sha256Hex(auth.substr(7)) : "";
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
  workers_ = std::make_unique<WorkerQueue>(workerCount_);
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
  CountRefusalsIn(metrics_);
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
  server.Get(R"(/api/v1/rounds/([^/]+))",
             [this](const Request& req, Response& res) { Start(req, res); });
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
          {"notBefore", IsoUtc(options_.anyPace ? now : now + kRoundMs - state::kTicketWaitMs)}});
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
  for (const BoardEntry& e : store_.Board(list->name, since, limit, ViewerHash(req))) {
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

std::optional<Round> Api::ShownRound(const Request& req, Response& res) {
  const auto id = IdOf(req, res);
  if (!id) return std::nullopt;
  auto round = store_.FindRound(*id);
  // A flagged round is shown to its player alone.
  const bool shown = round && !round->name.empty() && !round->hidden &&
                     (!round->flagged || store_.NameHolder(round->name) == ViewerHash(req));
  if (shown) return round;
  Refuse(res, 404, "no_round", "no such round on a board");
  return std::nullopt;
}

void Api::Recording(const Request& req, Response& res) {
  const auto round = ShownRound(req, res);
  if (!round) return;
  res.status = 200;
  res.set_content(round->recording, "text/plain; charset=utf-8");
}

void Api::Start(const Request& req, Response& res) {
  const auto round = ShownRound(req, res);
  if (!round) return;
  if (round->seed < 0) {
    return Refuse(res, 404, "no_start",
                  "this round was kept without its start: it cannot be watched");
  }
  json words = json::array();
  for (std::size_t at = 0; at < round->words.size();) {
    const std::size_t end = round->words.find('\n', at);
    words.push_back(round->words.substr(at, end - at));
    at = end == std::string::npos ? round->words.size() : end + 1;
  }
  Answer(res, 200,
         {{"id", round->id},
          {"list", round->list},
          {"seed", round->seed},
          {"words", words},
          {"score", round->score},
          {"level", round->level},
          {"maxLevel", round->maxLevel},
          {"name", round->name},
          {"date", IsoUtc(round->createdMs)}});
}

}  // namespace server
