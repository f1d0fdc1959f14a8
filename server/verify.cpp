// A round sent to the server, replayed from the start its ticket gave.
#include "server/verify.h"

#include <array>
#include <sstream>

#include "game/lifecycle.h"
#include "game/session.h"
#include "replay/ticket_start.h"
#include "script/script_parser.h"
#include "script/scripted_system.h"
#include "server/null_display.h"

namespace server {
namespace {

using Kind = script::Command::Kind;

// A scripted run that stops after the pass in which the round ended, or at
// the cap; without a picture folder it draws nothing.
class RoundSystem : public script::ScriptedSystem {
 public:
  RoundSystem(script::ScriptReader& reader, std::ostream& out, const ReplayOptions& options)
      : ScriptedSystem(reader, out), options_(options) {}

  std::shared_ptr<media::Root> CreateRoot() override {
    std::shared_ptr<media::Root> root = ScriptedSystem::CreateRoot();
    return options_.pictureFolder ? root : RootWithoutPictures(std::move(root));
  }

  bool BeginPass() override {
    if (options_.beforePass) options_.beforePass(*game_);
    if (game_->gameMode == state::kModePlaying) Time(*game_);
    if (game_->gameMode != state::kModePlaying) {
      finished_ = true;
      return false;
    }
    if (passes_ == kMaxPasses) return false;
    ++passes_;
    return ScriptedSystem::BeginPass();
  }

  void Watch(const state::GameState& g) { game_ = &g; }
  int32_t Locks() const { return locks_; }
  int32_t FastLocks() const { return fastLocks_; }
  bool Finished() const { return finished_; }
  uint32_t Passes() const { return passes_; }

 private:
  // Between two passes: when each letter on the field appeared, and how soon
  // after that each new lock came, by the round's clock.
  void Time(const state::GameState& g) {
    std::array<bool, state::kRingLast + 2> locked{};
    for (int i = 0; i < g.lockCount; ++i) {
      const int16_t slot =
          g.lockQueue[static_cast<std::size_t>((g.lockHead + i) % state::kLockSlots)];
      if (slot > 0 && slot < static_cast<int16_t>(locked.size()))
        locked[static_cast<std::size_t>(slot)] = true;
    }
    for (std::size_t slot = 0; slot < locked.size(); ++slot) {
      const int16_t key = g.targets[slot].keyCode;
      if (key != 0 && key != keys_[slot]) appeared_[slot] = g.roundTime;
      if (locked[slot] && !locked_[slot] && key != 0) {
        ++locks_;
        if (g.roundTime - appeared_[slot] < kHumanReactionMs) ++fastLocks_;
      }
      keys_[slot] = key;
      locked_[slot] = locked[slot];
    }
  }

  const ReplayOptions& options_;
  const state::GameState* game_ = nullptr;
  std::array<int16_t, state::kRingLast + 2> keys_{};
  std::array<int32_t, state::kRingLast + 2> appeared_{};
  std::array<bool, state::kRingLast + 2> locked_{};
  int32_t locks_ = 0;
  int32_t fastLocks_ = 0;
  bool finished_ = false;
  uint32_t passes_ = 0;
};

}  // namespace

bool Verdict::Inhuman() const { return locks >= kFastLocksSeen && 2 * fastLocks >= locks; }

std::optional<std::string> RefusedLine(const std::string& recording) {
  std::istringstream lines(recording);
  std::string text;
  bool started = false;
  bool passed = false;
  for (int64_t line = 1; std::getline(lines, text); ++line) {
    const std::string where = "recording line " + std::to_string(line) + ": ";
    if (line == 1 && text.rfind("# rapiko recording ", 0) != 0) {
      return where + "no recording (its first line is not '# rapiko recording N')";
    }
    if (text.size() > script::ScriptReader::kMaxLineBytes)
      return where + "longer than a line may be";
    std::optional<script::Command> cmd;
    try {
      cmd = script::ParseLine(text, line);
    } catch (const script::ScriptError& e) {
      return std::string("recording") + (e.what() + 6);
    }
    if (!cmd) continue;
    switch (cmd->kind) {
      case Kind::Start:
        if (started || passed) return where + "'start' comes once, before every pass";
        started = true;
        break;
      case Kind::Tick:
        passed = true;
        break;
      case Kind::Down:
      case Kind::Up:
      case Kind::Click:
        break;
      default: {
        std::istringstream words(text);
        std::string word;
        words >> word;
        return where + "'" + word + "' is not a key, tick or click of a round";
      }
    }
  }
  return std::nullopt;
}

Verdict ReplayRound(const RoundStart& start, const std::string& recording,
                    const ReplayOptions& options) {
  Verdict verdict;
  if (const auto refused = RefusedLine(recording)) {
    verdict.refusal = *refused;
    return verdict;
  }
  std::istringstream lines(recording);
  script::ScriptReader reader(lines);
  std::ostream nowhere(nullptr);
  RoundSystem system(reader, nowhere, options);
  game::StartOptions startOptions{.readOnly = true,
                                  .wordBytes = replay::TicketWordText(start.words),
                                  .rankingBytes = std::string()};
  const auto quiet = [](const std::string&) {};
  game::Session session{.myPath = options.pictureFolder ? game::MyPath(*options.pictureFolder) : "",
                        .options = startOptions,
                        .report = quiet,
                        .notes = quiet};
  session.started = [&](state::GameState& g) {
    replay::StartTicketRound(g, start.seed, start.words);
    system.Watch(g);
  };
  session.ended = [&verdict](const state::GameState& g) {
    verdict.score = g.score;
    verdict.level = g.level;
    verdict.maxLevel = g.maxLevel;
  };
  try {
    system.ReadPrologue();
    if (game::RunSession(system, session) != 0) verdict.refusal = "the replay could not start";
  } catch (const script::ScriptError& e) {
    verdict.refusal = std::string("recording") + (e.what() + 6);
  }
  verdict.passes = system.Passes();
  verdict.locks = system.Locks();
  verdict.fastLocks = system.FastLocks();
  if (verdict.refusal.empty() && !system.Finished()) {
    verdict.refusal = system.Passes() == kMaxPasses
                          ? "the recording passes the cap of " + std::to_string(kMaxPasses) +
                                " passes before its round ends"
                          : "the recording does not replay to a finished round";
  }
  return verdict;
}

}  // namespace server
