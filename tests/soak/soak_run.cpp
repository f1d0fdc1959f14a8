// A soak run: the bot plays many rounds in-process, sessions of start-up,
// main loop and shutdown in one game folder, with every pass checked.
#include "soak/soak_run.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "core/lifecycle.h"
#include "ranking/ranking_file.h"
#include "soak/invariants.h"
#include "soak/soak_system.h"

namespace soak {

namespace {

// A round that has not ended after this many passes is stuck (a round is
// a few hundred passes; with 0 ms passes drawn often it may take longer).
constexpr int64_t kStuckPasses = 200000;
// Passes allowed between asking to quit and the loop ending.
constexpr int64_t kQuitPasses = 100;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Word lists that lead the spawner down its less common roads.
std::string WordsOfSession(int64_t session, const std::string& defaults) {
  switch (session % 10) {
    case 3:
    case 7:
      // Few keys, many repeats: presses meet several open letters of one key.
      return "AAA\r\nABBA\nBAB\r\nAAB\n";
    case 5: {
      // Long words up to the letter capacity: the last one is cut short.
      std::string words;
      for (int i = 0; i < 40; ++i) words += "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-\n";
      return words;
    }
    case 9:
      return {};  // no word list: nothing falls
    default:
      return defaults;
  }
}

// Sessions start at times where the tick counter crosses 2^31 or wraps.
uint32_t StartTick(int64_t session, uint64_t seed) {
  const auto jitter = static_cast<uint32_t>(seed % 200000);
  switch (session % 3) {
    case 1:
      return 0x7FFFFFFFu - jitter;
    case 2:
      return 0xFFFFFFFFu - jitter;
    default:
      return static_cast<uint32_t>(seed >> 32);
  }
}

// One session: start-up, passes until the rounds are played and the bot
// quits, shutdown.
class Session {
 public:
  Session(const SoakConfig& config, int64_t session, int64_t rounds, SoakTotals& totals)
      : config_(config),
        session_(session),
        seed_(DeriveSeed(config.seed, static_cast<uint64_t>(session))),
        rounds_(rounds),
        totals_(totals),
        system_(StartTick(session, seed_)),
        bot_(seed_) {}

  core::GameState& Game() { return *g_; }
  SoakSystem& System() { return system_; }
  const std::optional<std::string>& Failure() const { return failure_; }

  void Fail(const std::string& what) {
    std::ostringstream s;
    s << "seed " << config_.seed << " session " << session_ << " (seed " << seed_ << ") round "
      << totals_.rounds << " (seed " << roundSeed_ << ") pass " << totals_.passes << " (pass "
      << passInSession_ << " of the session): " << what << "\n  state: " << DescribeState(*g_)
      << "\n  to replay: RAPIKO_SOAK_SEED=" << config_.seed
      << " RAPIKO_SOAK_ROUNDS=" << totals_.rounds + 1;
    failure_ = s.str();
  }

  // The main loop's hook: checks the pass just run, then sets up the next.
  bool BeginPass() {
    if (passInSession_ > 0 && !CheckPass()) return false;
    if (g_->quitRequested) return true;  // the loop ends at its quit test
    if (roundsPlayed_ >= rounds_) {
      if (++quitPasses_ > kQuitPasses) {
        Fail("the game did not quit after Esc or a click");
        return false;
      }
      // Even sessions quit with Esc, odd ones with the mouse.
      if (session_ % 2 == 0) {
        system_.Platform().QueueKey(core::kKeyEsc, core::kKeyDown);
      } else {
        system_.Click();
      }
      quitAsked_ = true;
    } else {
      bot_.Act(*g_, system_.Platform());
    }
    system_.Platform().Advance(static_cast<uint32_t>(bot_.NextElapsedMs()));
    system_.Platform().ClearFrame();
    modeBefore_ = g_->gameMode;
    ++passInSession_;
    ++totals_.passes;
    return true;
  }

  void Begin() {
    g_ = std::make_unique<core::GameState>();
    system_.SetPassHook([this] { return BeginPass(); });
  }

  void AddBotStats() {
    const BotStats& s = bot_.Stats();
    BotStats& t = totals_.bot;
    t.rightKeys += s.rightKeys;
    t.wrongKeys += s.wrongKeys;
    t.fires += s.fires;
    t.releases += s.releases;
    t.bursts += s.bursts;
    t.dropped += s.dropped;
    t.nameKeys += s.nameKeys;
  }

 private:
  bool CheckPass() {
    const core::GameState& g = *g_;
    const std::vector<std::string> broken = CheckInvariants(g, modeBefore_);
    if (!broken.empty()) {
      std::string all;
      for (const std::string& b : broken) all += (all.empty() ? "" : "; ") + b;
      Fail(all);
      return false;
    }
    const auto& ops = system_.Platform().FrameOps();
    int flips = 0;
    for (const auto& op : ops) flips += op.kind == media::SurfaceOp::Kind::Flip ? 1 : 0;
    if (flips != 1 || ops.back().kind != media::SurfaceOp::Kind::Flip) {
      Fail("a pass made " + std::to_string(flips) + " flips instead of one at its end");
      return false;
    }
    for (const std::string& sound : system_.Platform().TakeSoundLog()) {
      if (sound == "sndHit.play") ++totals_.hits;
      if (sound == "sndFueen.play") ++totals_.bottomOuts;
      if (sound == "sndKyan.play") ++totals_.wrongCues;
      if (sound == "sndEnd.play") ++totals_.endCues;
    }
    if (g.quitRequested && !quitAsked_) {
      Fail("the game quit though the bot pressed no Esc and clicked nothing");
      return false;
    }
    if (modeBefore_ == core::kModeTitle && g.gameMode == core::kModePlaying) StartRound();
    if (modeBefore_ == core::kModePlaying && g.gameMode != core::kModePlaying) {
      ++roundsPlayed_;
      ++totals_.rounds;
      if (g.gameMode == core::kModeNameEntry) ++totals_.nameEntries;
      totals_.highestLevel = std::max(totals_.highestLevel, g.maxLevel);
      if (g.maxLevel > 4) ++totals_.roundsPastLevel4;
      if (g.maxLevel > 20) ++totals_.roundsPastLevel20;
    }
    if (modeBefore_ == core::kModeNameEntry && g.gameMode == core::kModeTitle) {
      ++totals_.namesEntered;
    }
    passesInMode_ = g.gameMode == modeBefore_ ? passesInMode_ + 1 : 0;
    if (passesInMode_ > kStuckPasses) {
      Fail("stuck in mode " + std::to_string(g.gameMode));
      return false;
    }
    return true;
  }

  // A new round has begun: its seed, its style, and for a quarter of the
  // jumpy rounds a head start at a higher level, as if the player had
  // climbed there, so that drifting words, the overlapping pause of the
  // spawner above level 20 and ranking keys at their 32-bit limit (level
  // 214) come up without thousands of passes per round.
  void StartRound() {
    roundSeed_ = DeriveSeed(config_.seed ^ 0x5EEDu, static_cast<uint64_t>(totals_.rounds));
    const PlayStyle style = totals_.rounds % 40 == 13 ? PlayStyle::Steady : PlayStyle::Jumpy;
    bot_.StartRound(roundSeed_, style);
    BotRandom pick(roundSeed_ ^ 0xA5A5u);
    if (style == PlayStyle::Jumpy && pick.Chance(0.25)) {
      constexpr std::array<int16_t, 9> kHeadStarts = {5, 6, 8, 12, 21, 25, 40, 100, 214};
      g_->level =
          kHeadStarts[static_cast<size_t>(pick.Below(static_cast<int>(kHeadStarts.size())))];
      g_->maxLevel = g_->level;
      ++totals_.headStarts;
    }
  }

  const SoakConfig& config_;
  int64_t session_;
  uint64_t seed_;
  uint64_t roundSeed_ = 0;
  int64_t rounds_;
  SoakTotals& totals_;
  SoakSystem system_;
  SoakBot bot_;
  std::unique_ptr<core::GameState> g_;
  std::optional<std::string> failure_;
  int64_t roundsPlayed_ = 0;
  int64_t passInSession_ = 0;
  int64_t passesInMode_ = 0;
  int64_t quitPasses_ = 0;
  int16_t modeBefore_ = core::kModeTitle;
  bool quitAsked_ = false;
};

}  // namespace

uint64_t DeriveSeed(uint64_t runSeed, uint64_t k) {
  BotRandom r(runSeed ^ (k * 0xD1B54A32D192ED03ULL));
  return r.Next();
}

SoakRun::SoakRun(SoakConfig config, std::string gameDir, std::string defaultWords)
    : config_(config), dir_(std::move(gameDir)), defaultWords_(std::move(defaultWords)) {}

void SoakRun::WriteWords(int64_t session) const {
  const std::string path = dir_ + "/rapdata.ini";
  const std::string words = WordsOfSession(session, defaultWords_);
  std::error_code ec;
  std::filesystem::remove(path, ec);
  if (words.empty()) return;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << words;
}

std::optional<std::string> SoakRun::Run() {
  std::filesystem::remove(dir_ + "/rapikosc.ini");
  saved_ = Saved{};
  for (int64_t session = 0; totals_.rounds < config_.rounds; ++session) {
    if (session % 5 == 4) {
      // Now and then a first run again, so that results keep reaching the
      // ranking after it has filled with the best keys.
      std::filesystem::remove(dir_ + "/rapikosc.ini");
      saved_ = Saved{};
    }
    const int64_t rounds =
        std::min<int64_t>(config_.roundsPerSession, config_.rounds - totals_.rounds);
    if (auto failure = PlaySession(session, rounds)) return failure;
  }
  if (totals_.endCues != totals_.rounds) {
    return "the end cue played " + std::to_string(totals_.endCues) + " times in " +
           std::to_string(totals_.rounds) + " rounds";
  }
  return std::nullopt;
}

std::optional<std::string> SoakRun::PlaySession(int64_t session, int64_t rounds) {
  ++totals_.sessions;
  WriteWords(session);
  Session s(config_, session, rounds, totals_);
  s.Begin();
  core::GameState& g = s.Game();
  const std::string myPath = core::MyPath(dir_);

  core::StartUp(g, s.System(), myPath);
  // What the last session wrote is what this one starts with.
  if (g.entryName != saved_.entryName || g.rankKeys != saved_.keys || g.rankNames != saved_.names) {
    s.Fail("the ranking read at start-up differs from the one the last session wrote");
    return s.Failure();
  }
  if (auto broken = CheckInvariants(g, core::kModeTitle); !broken.empty()) {
    s.Fail("after start-up: " + broken.front());
    return s.Failure();
  }

  core::RunMainLoop(g, s.System());
  s.AddBotStats();
  if (s.Failure()) return s.Failure();
  if (!g.quitRequested) {
    s.Fail("the main loop ended without the quit flag");
    return s.Failure();
  }

  core::ShutDown(g, s.System(), myPath);
  const std::string file = ReadAll(dir_ + "/rapikosc.ini");
  if (file.empty() || file != ranking::RankingFileBytes(g)) {
    s.Fail("the ranking file written at shutdown does not hold the ranking");
    return s.Failure();
  }
  core::GameState back;
  ranking::LoadRankingFromBytes(back, file);
  if (back.entryName != g.entryName || back.rankKeys != g.rankKeys ||
      back.rankNames != g.rankNames) {
    s.Fail("the ranking file does not read back as the ranking it was written from");
    return s.Failure();
  }
  saved_ = Saved{g.entryName, g.rankKeys, g.rankNames};
  return std::nullopt;
}

}  // namespace soak
