// A session's rounds on an online ranking: a ticket when each starts, the
// round sent when it ends, its name after the name entry.
#include "online/online_rounds.h"

#include <algorithm>
#include <chrono>
#include <system_error>

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

constexpr const char* kNoName = "no name was entered: the round stays off the board";

// The list's board as the server gives it, or why it did not.
Board AskBoard(const std::string& url, const std::string& list) {
  const net::Reply reply = net::GetJson(net::Endpoint(url, BoardPath(list)), kBoardTimeoutMs);
  Board board;
  board.status = reply.status;
  board.list = list;
  const auto entries = reply.status == 200 ? ReadBoard(reply.body) : std::nullopt;
  if (entries) {
    board.entries = *entries;
  } else {
    board.error = ErrorOf(reply);
  }
  return board;
}

}  // namespace

std::optional<std::string> ListToSend(const state::Choices& choices) {
  if (choices.practice || !choices.listId.empty()) return std::nullopt;
  return choices.listName.empty() ? kDefaultListName : choices.listName;
}

OnlineRounds::OnlineRounds(Setup setup, replay::Recording& recording)
    : setup_(std::move(setup)), recording_(recording) {
  recording.AddSink(this);
  if (!setup_.background) return;
  try {
    worker_ = std::thread([this] { Work(); });
  } catch (const std::system_error&) {
    // No threads here (a build for the web without them): each exchange is
    // waited for where it is made.
    setup_.background = false;
  }
}

OnlineRounds::~OnlineRounds() {
  if (!worker_.joinable()) return;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  worker_.join();
}

void OnlineRounds::Line(const std::string& line) {
  if (!capturing_) return;
  text_ += line + '\n';
  if (text_.size() > kMaxSentBytes) {
    capturing_ = false;
    text_.clear();
  }
}

void OnlineRounds::RoundStarted(const state::GameState& g, int, uint32_t tick) {
  round_.reset();
  ended_ = false;
  capturing_ = false;
  // Turned off on the options screen: played offline, as without a server.
  if (!g.choices.online.on) return;
  round_ = std::make_shared<Round>();
  Outcome& outcome = round_->outcome;
  const std::optional<std::string> list = ListToSend(g.choices);
  if (!list) {
    outcome.error = g.choices.practice ? "a practice round is not sent: it was played offline"
                                       : "a list played from its file is not ranked online: the "
                                         "round was played offline";
    Settle(*round_);
    round_.reset();
    return;
  }
  outcome.list = *list;
  const net::Reply reply = net::PostJson(net::Endpoint(setup_.url, kTicketsPath),
                                         TicketRequest(*list), kTicketTimeoutMs);
  outcome.status = reply.status;
  std::optional<Ticket> ticket = reply.status == 201 ? ReadTicket(reply.body) : std::nullopt;
  if (!ticket) {
    outcome.error = "no ticket (" + ErrorOf(reply) + "): the round was played offline";
    Settle(*round_);
    round_.reset();
    return;
  }
  round_->ticket = std::move(*ticket);
  // Started again from the ticket alone, as the server replays it (Space's
  // start once more: its sound is playing already, so nothing is heard).
  if (game_) replay::StartTicketRound(*game_, round_->ticket.seed, round_->ticket.words);
  text_ = replay::RecordingFormatLine() + "\nstart " + std::to_string(tick) + "\n";
  capturing_ = true;
}

void OnlineRounds::RoundEnded(const state::GameState& g, int, int32_t) {
  if (!round_ || ended_) return;
  ended_ = true;
  const bool whole = capturing_;
  capturing_ = false;
  const std::string pending = recording_.PendingLine();
  const std::string recording = text_ + (pending.empty() ? "" : pending + "\n");
  text_.clear();
  if (!whole || recording.find("\nfocus ") != std::string::npos) {
    round_->outcome.error =
        whole ? "the round was paused (the window lost the focus): it is not ranked online"
              : "the round's recording is too long to send: it stays local";
    Settle(*round_);
    round_.reset();
    return;
  }
  // A round that goes to the name entry is settled when the name is typed.
  round_->waitsForName = g.gameMode == state::kModeNameEntry;
  const std::string body = RoundRequest(round_->ticket.ticket, recording, g.score, g.level);
  const std::shared_ptr<Round> round = round_;
  Run([this, round, body] { SendRound(*round, body); });
  if (setup_.sending) setup_.sending();
}

void OnlineRounds::NameEntered(const state::GameState& g, int) {
  if (!round_ || !ended_ || !round_->waitsForName) return;
  const std::shared_ptr<Round> round = round_;
  round_.reset();
  Run([this, round, name = g.entryName] { SendName(*round, name); });
}

void OnlineRounds::PassEnded(const state::GameState& g) {
  if (g.onlineBoard.asked != boardsAsked_) {
    boardsAsked_ = g.onlineBoard.asked;
    if (const auto list = ListToSend(g.choices); list && state::PlaysOnline(g.choices)) {
      Run([this, list = *list] { FetchBoard(list); });
    }
  }
  const state::OnlineWatchView& watch = g.onlineWatch;
  if (watch.asked != watchListsAsked_) {
    watchListsAsked_ = watch.asked;
    if (const auto list = ListToSend(g.choices); list && setup_.watch) {
      Run([this, list = *list, asked = watch.asked] { FetchWatchList(list, asked); });
    }
  }
  if (watch.chosen != roundsChosen_) {
    roundsChosen_ = watch.chosen;
    if (setup_.watch) {
      Run([this, round = watch.round, chosen = watch.chosen] { FetchRound(round, chosen); });
    }
  }
  std::vector<Outcome> done;
  std::vector<Board> boards;
  std::vector<std::pair<Board, int32_t>> watchLists;
  std::vector<std::pair<Watched, int32_t>> rounds;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    done.swap(done_);
    boards.swap(boards_);
    watchLists.swap(watchLists_);
    rounds.swap(rounds_);
  }
  for (const Outcome& outcome : done) {
    if (setup_.settled) setup_.settled(outcome);
  }
  for (const Board& board : boards) ShowBoard(board);
  for (const auto& [board, asked] : watchLists) ShowWatchList(board, asked);
  for (const auto& [watched, chosen] : rounds) ShowRound(watched, chosen);
}

void OnlineRounds::Finish(const state::GameState& g) {
  if (round_ && !ended_) {
    round_->outcome.error = "the round did not end: nothing was sent";
    Settle(*round_);
  } else if (round_ && round_->waitsForName) {
    const std::shared_ptr<Round> round = round_;
    // Ended from outside during the name entry, which then entered the name.
    const bool named = g.gameMode == state::kModeTitle;
    Run([this, round, named, name = g.entryName] {
      if (named) {
        SendName(*round, name);
      } else if (round->placed) {
        round->outcome.error = kNoName;
        Settle(*round);
      }
    });
  }
  round_.reset();
  if (worker_.joinable()) {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_all();
    worker_.join();
  }
  PassEnded(g);
}

void OnlineRounds::Run(std::function<void()> job) {
  if (!setup_.background) {
    job();
    return;
  }
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    jobs_.push_back(std::move(job));
  }
  wake_.notify_all();
}

bool OnlineRounds::Stopping() {
  const std::lock_guard<std::mutex> lock(mutex_);
  return stopping_;
}

void OnlineRounds::Work() {
  for (;;) {
    std::function<void()> job;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
      // What was handed over before the end is still sent.
      if (jobs_.empty()) return;
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    job();
  }
}

void OnlineRounds::SendRound(Round& round, const std::string& body) {
  Outcome& outcome = round.outcome;
  net::Reply reply;
  for (int attempt = 1;; ++attempt) {
    reply = net::PostJson(net::Endpoint(setup_.url, kRoundsPath), body, kRoundTimeoutMs);
    const bool again = reply.status == 0 || reply.status == 503 || reply.status == 429;
    // A game that is ending waits for no second attempt.
    if (!again || attempt == kRoundAttempts || Stopping()) break;
    std::this_thread::sleep_for(
        std::chrono::seconds(std::clamp(reply.retryAfter, 1, kLongestWaitS)));
  }
  if (reply.status != 0) outcome.status = reply.status;
  round.placed = reply.status == 201 ? ReadPlaced(reply.body) : std::nullopt;
  if (!round.placed) {
    outcome.error = "the round was not ranked online (" + ErrorOf(reply) + "): it stays local";
    Settle(round);
    return;
  }
  outcome.id = round.placed->id;
  outcome.score = round.placed->score;
  outcome.level = round.placed->level;
  if (!round.placed->list.empty()) outcome.list = round.placed->list;
  if (!round.waitsForName) {
    outcome.error = kNoName;
    Settle(round);
  }
}

void OnlineRounds::SendName(Round& round, const std::string& name) {
  if (!round.placed) return;  // the round itself was not taken: already settled
  Outcome& outcome = round.outcome;
  if (name.find_first_not_of(' ') == std::string::npos) {
    outcome.error = kNoName;
    Settle(round);
    return;
  }
  const std::string url = net::Endpoint(
      setup_.url, std::string(kRoundsPath) + "/" + std::to_string(round.placed->id) + "/name");
  const net::Reply reply =
      net::PostJson(url, NameRequest(round.placed->claim, name, setup_.token), kNameTimeoutMs);
  if (reply.status != 0) outcome.status = reply.status;
  const std::optional<Named> named = reply.status == 200 ? ReadNamed(reply.body) : std::nullopt;
  if (!named) {
    outcome.error = "the name was not entered online (" + ErrorOf(reply) + ")";
  } else {
    // The place counts from the name on: a round without one is on no board.
    outcome.place = named->place ? named->place : round.placed->place;
    if (!named->token.empty()) {
      setup_.token = named->token;
      if (setup_.keepToken) setup_.keepToken(named->token);
    }
  }
  Settle(round);
}

void OnlineRounds::FetchBoard(const std::string& list) {
  Board board = AskBoard(setup_.url, list);
  if (!setup_.background) return ShowBoard(board);
  const std::lock_guard<std::mutex> lock(mutex_);
  boards_.push_back(std::move(board));
}

void OnlineRounds::ShowBoard(const Board& board) {
  if (game_) {
    state::GameState& g = *game_;
    g.onlineBoard.entries = board.entries;
    g.onlineBoard.note =
        !board.error.empty()    ? media::Format(state::Tr(g, "Online: {0}"), {board.error})
        : board.entries.empty() ? std::string(state::Tr(g, "No named round on this board yet"))
                                : "";
  }
  if (setup_.boardRead) setup_.boardRead(board);
}

void OnlineRounds::FetchWatchList(const std::string& list, int32_t asked) {
  // A game that is ending shows no list.
  if (Stopping()) return;
  Board board = AskBoard(setup_.url, list);
  if (!setup_.background) return ShowWatchList(board, asked);
  const std::lock_guard<std::mutex> lock(mutex_);
  watchLists_.emplace_back(std::move(board), asked);
}

void OnlineRounds::ShowWatchList(const Board& board, int32_t asked) {
  if (!game_ || game_->onlineWatch.asked != asked) return;  // asked again since
  state::GameState& g = *game_;
  g.onlineWatch.entries = board.entries;
  g.onlineWatch.note =
      !board.error.empty()    ? media::Format(state::Tr(g, "Online: {0}"), {board.error})
      : board.entries.empty() ? std::string(state::Tr(g, "No named round on this board yet"))
                              : "";
}

void OnlineRounds::FetchRound(int64_t round, int32_t chosen) {
  if (Stopping()) return;
  Watched watched = FetchWatched(setup_.url, round);
  if (!setup_.background) return ShowRound(watched, chosen);
  const std::lock_guard<std::mutex> lock(mutex_);
  rounds_.emplace_back(std::move(watched), chosen);
}

void OnlineRounds::ShowRound(const Watched& watched, int32_t chosen) {
  // Given up (Esc), or another chosen since.
  if (!game_ || !game_->onlineWatch.loading || game_->onlineWatch.chosen != chosen) return;
  state::GameState& g = *game_;
  g.onlineWatch.loading = false;
  g.onlineWatch.note =
      watched.error.empty() ? "" : media::Format(state::Tr(g, "Online: {0}"), {watched.error});
  setup_.watch(watched);
}

void OnlineRounds::Settle(const Round& round) {
  if (!setup_.background) {
    if (setup_.settled) setup_.settled(round.outcome);
    return;
  }
  const std::lock_guard<std::mutex> lock(mutex_);
  done_.push_back(round.outcome);
}

}  // namespace online
