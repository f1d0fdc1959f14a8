// A session's rounds on an online ranking: a ticket when each starts, the
// round sent when it ends, its name after the name entry.
#include "online/online_rounds.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "net/address.h"
#include "replay/format.h"
#include "replay/ticket_start.h"

namespace online {
namespace {

// The server takes a body of at most 1 MiB, in which the recording's line
// ends are escaped: a longer round is not sent (a real one takes some 100 KB).
constexpr std::size_t kMaxSentBytes = std::size_t{768} << 10;
// A round is sent again this many times when no answer came or the server
// was busy; the server answers a repeat with its first answer.
constexpr int kRoundAttempts = 3;
constexpr int kLongestWaitS = 10;

}  // namespace

std::optional<std::string> ListToSend(const state::Choices& choices) {
  if (choices.practice || !choices.listId.empty()) return std::nullopt;
  return choices.listName.empty() ? kDefaultListName : choices.listName;
}

OnlineRounds::OnlineRounds(Setup setup, replay::Recording& recording)
    : setup_(std::move(setup)), recording_(recording) {
  recording.AddSink(this);
}

void OnlineRounds::Line(const std::string& line) {
  if (!capturing_) return;
  round_ += line + '\n';
  if (round_.size() > kMaxSentBytes) {
    capturing_ = false;
    round_.clear();
  }
}

void OnlineRounds::RoundStarted(const state::GameState& g, int, uint32_t tick) {
  // A round before it still waiting for its name gets none now.
  if (open_) Settle();
  open_ = Outcome{};
  ticket_.reset();
  const std::optional<std::string> list = ListToSend(g.choices);
  if (!list) {
    open_->error = g.choices.practice ? "a practice round is not sent: it was played offline"
                                      : "a list played from its file is not ranked online: the "
                                        "round was played offline";
    Settle();
    return;
  }
  open_->list = *list;
  const net::Reply reply = net::PostJson(net::Endpoint(setup_.url, kTicketsPath),
                                         TicketRequest(*list), kTicketTimeoutMs);
  open_->status = reply.status;
  std::optional<Ticket> ticket = reply.status == 201 ? ReadTicket(reply.body) : std::nullopt;
  if (!ticket) {
    open_->error = "no ticket (" + ErrorOf(reply) + "): the round was played offline";
    Settle();
    return;
  }
  ticket_ = std::move(ticket);
  // Started again from the ticket alone, as the server replays it (Space's
  // start once more: its sound is playing already, so nothing is heard).
  if (game_) replay::StartTicketRound(*game_, ticket_->seed, ticket_->words);
  round_ = replay::RecordingFormatLine() + "\nstart " + std::to_string(tick) + "\n";
  capturing_ = true;
}

void OnlineRounds::RoundEnded(const state::GameState& g, int, int32_t) {
  if (!open_ || !ticket_) return;
  const bool whole = capturing_;
  capturing_ = false;
  const std::string pending = recording_.PendingLine();
  const std::string recording = round_ + (pending.empty() ? "" : pending + "\n");
  round_.clear();
  if (!whole) {
    open_->error = "the round's recording is too long to send: it stays local";
    Settle();
    return;
  }
  if (recording.find("\nfocus ") != std::string::npos) {
    open_->error = "the round was paused (the window lost the focus): it is not ranked online";
    Settle();
    return;
  }
  const std::string body = RoundRequest(ticket_->ticket, recording, g.score, g.level);
  net::Reply reply;
  for (int attempt = 1;; ++attempt) {
    reply = net::PostJson(net::Endpoint(setup_.url, kRoundsPath), body, kRoundTimeoutMs);
    const bool again = reply.status == 0 || reply.status == 503 || reply.status == 429;
    if (!again || attempt == kRoundAttempts) break;
    std::this_thread::sleep_for(
        std::chrono::seconds(std::clamp(reply.retryAfter, 1, kLongestWaitS)));
  }
  if (reply.status != 0) open_->status = reply.status;
  placed_ = reply.status == 201 ? ReadPlaced(reply.body) : std::nullopt;
  if (!placed_) {
    open_->error = "the round was not ranked online (" + ErrorOf(reply) + "): it stays local";
    Settle();
    return;
  }
  open_->id = placed_->id;
  open_->score = placed_->score;
  open_->level = placed_->level;
  if (!placed_->list.empty()) open_->list = placed_->list;
  // A round that goes to the name entry is settled when the name is typed.
  if (g.gameMode != state::kModeNameEntry) {
    open_->error = "no name was entered: the round stays off the board";
    Settle();
  }
}

void OnlineRounds::NameEntered(const state::GameState& g, int) {
  if (open_ && placed_) SendName(g.entryName);
}

void OnlineRounds::Finish(const state::GameState& g) {
  if (!open_) return;
  if (!placed_) {
    open_->error = "the round did not end: nothing was sent";
  } else if (g.gameMode == state::kModeTitle) {
    // Ended from outside during the name entry, which entered the name.
    SendName(g.entryName);
    return;
  } else {
    open_->error = "no name was entered: the round stays off the board";
  }
  Settle();
}

void OnlineRounds::SendName(const std::string& name) {
  if (name.find_first_not_of(' ') == std::string::npos) {
    open_->error = "no name was entered: the round stays off the board";
    Settle();
    return;
  }
  const std::string url = net::Endpoint(
      setup_.url, std::string(kRoundsPath) + "/" + std::to_string(placed_->id) + "/name");
  const net::Reply reply =
      net::PostJson(url, NameRequest(placed_->claim, name, setup_.token), kNameTimeoutMs);
  if (reply.status != 0) open_->status = reply.status;
  const std::optional<Named> named = reply.status == 200 ? ReadNamed(reply.body) : std::nullopt;
  if (!named) {
    open_->error = "the name was not entered online (" + ErrorOf(reply) + ")";
  } else {
    // The place counts from the name on: a round without one is on no board.
    open_->place = named->place ? named->place : placed_->place;
    if (!named->token.empty()) {
      setup_.token = named->token;
      if (setup_.keepToken) setup_.keepToken(named->token);
    }
  }
  Settle();
}

void OnlineRounds::Settle() {
  if (setup_.report) setup_.report(OutcomeLine(*open_));
  open_.reset();
  placed_.reset();
  ticket_.reset();
}

}  // namespace online
