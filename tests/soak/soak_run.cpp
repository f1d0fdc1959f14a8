// A soak run: the bot plays many rounds in-process, sessions of start-up,
// main loop and shutdown in one game folder, with every pass checked.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <vector>

#include "game/lifecycle.h"
#include "media/headless/headless.h"
#include "ranking/ranking_file.h"
#include "soak/soak.h"
#include "support/script_run.h"

namespace soak {

namespace {

constexpr int64_t kStuckPasses = 200000;  // a round takes a few hundred passes
constexpr int64_t kQuitPasses = 100;      // from asking to quit to the loop's end
// Nothing in a soak's folder is damaged, and every save goes through.
const game::ReportLine kFailOnReport = [](const std::string& line) { ADD_FAILURE() << line; };

uint64_t DeriveSeed(uint64_t seed, uint64_t k) {
  return BotRandom(seed ^ (k * 0xD1B54A32D192ED03ULL)).Next();
}

// The headless platform, with a hook that plays each pass before the loop runs it.
class SoakSystem : public media::System {
 public:
  SoakSystem(uint32_t startTick, std::function<bool()> hook) : hook_(std::move(hook)) {
    platform.SetTick(startTick);
  }
  std::shared_ptr<media::Root> CreateRoot() override { return platform.CreateRoot(); }
  uint32_t GetTickCount() override { return platform.Tick(); }
  bool BeginPass() override { return hook_(); }
  void DispatchMessages(media::WindowEvents& events) override {
    for (; clicks > 0; --clicks) events.OnMouseDown();
  }
  media::HeadlessPlatform platform;
  int clicks = 0;

 private:
  std::function<bool()> hook_;
};

// Word lists that lead the spawner down its less common roads.
std::string WordsOfSession(int64_t session, const std::string& defaults) {
  if (session % 10 == 3 || session % 10 == 7) return "AAA\r\nABBA\nBAB\r\nAAB\n";  // few keys
  if (session % 10 == 9) return {};  // no word list: nothing falls
  if (session % 10 != 5) return defaults;
  std::string words;  // long words up to the letter capacity: the last is cut short
  for (int i = 0; i < 40; ++i) words += "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-\n";
  return words;
}

// Sessions start where the tick counter crosses 2^31 or wraps at 2^32.
uint32_t StartTick(int64_t session, uint64_t seed) {
  const auto jitter = static_cast<uint32_t>(seed % 200000);
  if (session % 3 == 1) return 0x7FFFFFFFu - jitter;
  if (session % 3 == 2) return 0xFFFFFFFFu - jitter;
  return static_cast<uint32_t>(seed >> 32);
}

// One session: start-up, passes until its rounds are played and the bot
// quits, shutdown.
class Session {
 public:
  Session(const SoakConfig& config, int64_t session, int64_t rounds, SoakTotals& totals)
      : config_(config),
        session_(session),
        rounds_(rounds),
        totals_(totals),
        system_(StartTick(session, DeriveSeed(config.seed, session)), [this] { return Pass(); }),
        bot_(DeriveSeed(config.seed, session)) {}

  bool Play(const std::string& dir) {
    const std::string myPath = game::MyPath(dir);
    game::StartUp(g_, system_, myPath);
    // What the last session wrote is what this one starts with.
    if (ranking::RankingFileBytes(g_) != totals_.lastRanking) {
      return Fail("the ranking read at start-up differs from the one last written");
    }
    if (const auto broken = CheckInvariants(g_, state::kModeTitle); !broken.empty()) {
      return Fail("after start-up: " + broken.front());
    }
    game::RunMainLoop(g_, system_, myPath, kFailOnReport);
    totals_.dropped += bot_.Dropped();
    if (failure) return false;
    if (!g_.quitRequested) return Fail("the main loop ended without the quit flag");
    game::ShutDown(g_, system_, myPath);
    totals_.lastRanking = testing_support::ReadFileBytes(dir + "/rapikosc.ini");
    if (totals_.lastRanking != ranking::RankingFileBytes(g_)) {
      return Fail("the ranking file written at shutdown does not hold the ranking");
    }
    return true;
  }

  std::optional<std::string> failure;

 private:
  bool Fail(const std::string& what) {
    std::ostringstream s;
    s << "seed " << config_.seed << " session " << session_ << " round " << totals_.rounds
      << " pass " << totals_.passes << ": " << what << "\n  state: " << DescribeState(g_)
      << "\n  to replay: RAPIKO_SOAK_SEED=" << config_.seed
      << " RAPIKO_SOAK_ROUNDS=" << totals_.rounds + 1;
    failure = s.str();
    return false;
  }

  // The main loop's hook: checks the pass just run, then sets up the next.
  bool Pass() {
    if (passInSession_ > 0 && !CheckPass()) return false;
    if (g_.quitRequested) return true;  // the loop ends at its quit test
    if (roundsPlayed_ < rounds_) {
      bot_.Act(g_, system_.platform);
    } else if (++quitPasses_ > kQuitPasses) {
      return Fail("the game did not quit after Esc or a click");
    } else if (session_ % 2 == 0) {
      system_.platform.QueueKey(state::kKeyEsc, media::kKeyDown);
    } else {
      ++system_.clicks;
    }
    system_.platform.Advance(static_cast<uint32_t>(bot_.NextElapsedMs()));
    system_.platform.ClearFrame();
    modeBefore_ = g_.gameMode;
    ++passInSession_;
    ++totals_.passes;
    return true;
  }

  bool CheckPass() {
    if (const auto broken = CheckInvariants(g_, modeBefore_); !broken.empty()) {
      std::string all;
      for (const std::string& b : broken) all += (all.empty() ? "" : "; ") + b;
      return Fail(all);
    }
    const auto& ops = system_.platform.FrameOps();
    const auto isFlip = [](const media::SurfaceOp& op) { return op.kind == op.Kind::Flip; };
    if (std::count_if(ops.begin(), ops.end(), isFlip) != 1 || !isFlip(ops.back())) {
      return Fail("a pass did not end with its one flip");
    }
    for (const std::string& sound : system_.platform.TakeSoundLog()) {
      totals_.hits += sound == "WAVHIT.play";
      totals_.bottomOuts += sound == "WAVFUEEN.play";
      totals_.wrongCues += sound == "WAVKYAN.play";
      totals_.endCues += sound == "WAVEND.play";
    }
    if (g_.quitRequested && quitPasses_ == 0) return Fail("the game quit on its own");
    if (modeBefore_ == state::kModeTitle && g_.gameMode == state::kModePlaying) StartRound();
    if (modeBefore_ == state::kModePlaying && g_.gameMode != state::kModePlaying) {
      ++roundsPlayed_;
      ++totals_.rounds;
      totals_.nameEntries += g_.gameMode == state::kModeNameEntry;
      totals_.highestLevel = std::max(totals_.highestLevel, g_.maxLevel);
    }
    totals_.namesEntered +=
        modeBefore_ == state::kModeNameEntry && g_.gameMode == state::kModeTitle;
    passesInMode_ = g_.gameMode == modeBefore_ ? passesInMode_ + 1 : 0;
    if (passesInMode_ > kStuckPasses) return Fail("stuck in mode " + std::to_string(g_.gameMode));
    return true;
  }

  // A new round: its own seed, and for a quarter of the rounds a head start
  // at a higher level, so that drifting words, the spawner's pace above
  // level 20 and ranking keys at their 32-bit limit come up quickly.
  void StartRound() {
    const uint64_t seed = DeriveSeed(config_.seed ^ 0x5EEDu, totals_.rounds);
    bot_.Reseed(seed);
    BotRandom pick(seed ^ 0xA5A5u);
    static constexpr int16_t kHeadStarts[] = {5, 6, 8, 12, 21, 25, 40, 100, 214};
    if (pick.Chance(0.25)) g_.level = g_.maxLevel = kHeadStarts[pick.Below(9)];
  }

  const SoakConfig& config_;
  int64_t session_;
  int64_t rounds_;
  SoakTotals& totals_;
  SoakSystem system_;
  SoakBot bot_;
  state::GameState g_;
  int64_t roundsPlayed_ = 0;
  int64_t passInSession_ = 0;
  int64_t passesInMode_ = 0;
  int64_t quitPasses_ = 0;
  int16_t modeBefore_ = state::kModeTitle;
};

}  // namespace

std::optional<std::string> RunSoak(const SoakConfig& config, const std::string& dir,
                                   const std::string& words, SoakTotals& totals) {
  for (int64_t session = 0; totals.rounds < config.rounds; ++session) {
    if (session % 5 == 0) {
      // A first run again now and then, so that results keep reaching the
      // ranking once it is full of the best keys.
      std::filesystem::remove(dir + "/rapikosc.ini");
      totals.lastRanking = ranking::RankingFileBytes(state::GameState{});
    }
    std::filesystem::remove(dir + "/rapdata.ini");
    if (const std::string list = WordsOfSession(session, words); !list.empty()) {
      std::ofstream(dir + "/rapdata.ini", std::ios::binary) << list;
    }
    Session s(config, session, std::min(config.roundsPerSession, config.rounds - totals.rounds),
              totals);
    if (!s.Play(dir)) return s.failure;
  }
  if (totals.endCues != totals.rounds) {
    return "the end cue played " + std::to_string(totals.endCues) + " times in " +
           std::to_string(totals.rounds) + " rounds";
  }
  return std::nullopt;
}

}  // namespace soak
