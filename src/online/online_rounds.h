// A session's rounds on an online ranking: a ticket when each starts, the
// round sent when it ends, its name after the name entry.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "online/protocol.h"
#include "online/watched_round.h"
#include "replay/recording.h"
#include "replay/recording_system.h"
#include "state/game_state.h"
#include "state/rules_version.h"

namespace online {

// How long the game waits for each answer. A round waits for its ticket a
// second at most, then is played offline.
constexpr int kTicketTimeoutMs = state::kTicketWaitMs;
constexpr int kRoundTimeoutMs = 15000;
constexpr int kNameTimeoutMs = 5000;
constexpr int kBoardTimeoutMs = 5000;

struct Setup {
  std::string url;    // the server's address
  std::string token;  // holds the player's names on that server; empty: none yet
  // Keeps a token the server made for a name (the settings' online_token).
  std::function<void(const std::string&)> keepToken{};
  // Told of each round once its fate online is settled, on the game's thread.
  std::function<void(const Outcome&)> settled{};
  // Told on the game's thread when a round that ended is handed over to be sent.
  std::function<void()> sending{};
  // Told on the game's thread of each board the title asked for, once it is read (the title's
  // view of it is set already).
  std::function<void(const Board&)> boardRead{};
  // Shows a round of the online board that the options screen's watch list asked for, on the
  // game's thread, once it came (or did not: then its text is empty). Without it the watch
  // list offers no online round.
  std::function<void(const Watched&)> watch{};
  // Rounds and names are sent by a thread of their own, so that the game
  // never waits for them (a game in the window); else each exchange is
  // waited for where it is made (a scripted run, whose clock is its own).
  bool background = false;
};

// Each round of the recorded session (replay::RecordingSystem tells it of
// them) takes a ticket when it starts and is played from it; its recording
// from its start is sent when it ends, and its name when the name entry
// that followed it ends.
class OnlineRounds : public replay::RecordingSink, public replay::RoundEvents {
 public:
  OnlineRounds(Setup setup, replay::Recording& recording);
  ~OnlineRounds() override;

  // The game the tickets deal their rounds into, once start-up has made it.
  void SetGame(state::GameState* game) {
    game_ = game;
    if (!game_) return;
    game_->onlineBoard.served = true;
    game_->onlineWatch.served = static_cast<bool>(setup_.watch);
  }

  void Line(const std::string& line) override;
  void RoundStarted(const state::GameState& g, int round, uint32_t tick) override;
  void RoundEnded(const state::GameState& g, int round, int32_t score) override;
  void NameEntered(const state::GameState& g, int round) override;
  void PassEnded(const state::GameState& g) override;
  // The session has ended: what is still to send is sent, and a round still
  // under way is told of.
  void Finish(const state::GameState& g);

 private:
  // A round's fate online, shared by the game's thread and the sender's.
  struct Round {
    Ticket ticket;
    Outcome outcome;
    std::optional<Placed> placed;  // the round sent, waiting for its name
    bool waitsForName = false;
  };
  void Run(std::function<void()> job);
  void SendRound(Round& round, const std::string& body);
  void SendName(Round& round, const std::string& name);
  void Settle(const Round& round);
  void FetchBoard(const std::string& list);
  void ShowBoard(const Board& board);
  // The watch list's rounds (the list's board), and a round chosen from it: `asked` and
  // `chosen` say which request of the game's each answers, so that a stale one is dropped.
  void FetchWatchList(const std::string& list, int32_t asked);
  void ShowWatchList(const Board& board, int32_t asked);
  void FetchRound(int64_t round, int32_t chosen);
  void ShowRound(const Watched& watched, int32_t chosen);
  void Work();
  bool Stopping();

  Setup setup_;
  const replay::Recording& recording_;
  state::GameState* game_ = nullptr;
  bool capturing_ = false;
  std::string text_;              // the recording of the round under way
  std::shared_ptr<Round> round_;  // the round whose fate is not settled yet
  bool ended_ = false;            // it ended (and was handed to the sender)

  // The sender's thread, its jobs, and the rounds it settled.
  std::thread worker_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> jobs_;
  std::vector<Outcome> done_;
  std::vector<Board> boards_;  // read, to be shown
  int32_t boardsAsked_ = 0;    // the title's requests handed to the sender so far
  // The watch list's answers (with the request each answers) to be shown, and its requests
  // handed to the sender so far.
  std::vector<std::pair<Board, int32_t>> watchLists_;
  std::vector<std::pair<Watched, int32_t>> rounds_;
  int32_t watchListsAsked_ = 0;
  int32_t roundsChosen_ = 0;
  bool stopping_ = false;
};

// The word list a round sends: the server's name for it, or nothing for a
// round it does not rank (practice, a list played by its path).
std::optional<std::string> ListToSend(const state::Choices& choices);

}  // namespace online
