// The requests about one round: sending it (replayed, then kept), naming
// it, removing it.
#include <chrono>

#include "ranking/rank_key.h"
#include "replay/ticket_start.h"
#include "server/answers.h"
#include "server/api.h"
#include "server/clock.h"
#include "server/crypto.h"
#include "server/verify.h"
#include "state/game_state.h"
#include "state/rules_version.h"

namespace server {
namespace {

using httplib::Request;
using httplib::Response;

constexpr int64_t kRoundMs = state::kRoundLengthMs;
constexpr std::size_t kMaxNameBytes = 10;
constexpr int kWorkerWaitSeconds = 5;

bool NameAllowed(const std::string& name) {
  if (name.empty() || name.size() > kMaxNameBytes) return false;
  bool blank = true;
  for (const char c : name) {
    if (c < ' ' || c > '~') return false;
    blank = blank && c == ' ';
  }
  return !blank;
}

}  // namespace

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
    json reply = {{"id", round.id},
                  {"list", round.list},
                  {"score", round.score},
                  {"level", round.level},
                  {"maxLevel", round.maxLevel},
                  {"place", store_.PlaceOf(round)},
                  {"claim", signer_.ClaimOf(round.ticket)}};
    if (round.flagged) reply["flagged"] = true;
    Answer(res, 201, reply);
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
  if (!options_.anyPace && now < ticket->issuedMs + kRoundMs - state::kTicketWaitMs) {
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
  if (!workers_->Acquire(std::chrono::seconds(kWorkerWaitSeconds))) {
    res.set_header("Retry-After", "1");
    return Refuse(res, 503, "busy", "every replay worker is busy: try again");
  }
  Verdict verdict;
  const auto began = std::chrono::steady_clock::now();
  try {
    verdict = ReplayRound({.seed = ticket->seed, .words = list->words}, *recording);
  } catch (...) {
    workers_->Release();
    throw;
  }
  workers_->Release();
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
       .flagged = verdict.Inhuman(),
       .seed = ticket->seed,
       .words = replay::TicketWordText(list->words)});
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
  // Before any name is taken for it.
  if (!round->name.empty() && round->name != *name) {
    return Refuse(res, 409, "named", "the round already has a name");
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

}  // namespace server
