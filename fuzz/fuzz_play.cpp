// Fuzz target: play. A bot seeded by the input plays a session in-process
// (start-up, rounds, shutdown) in a folder of its own, with the invariants of
// the state checked after every pass; a broken one aborts with what broke.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "game/lifecycle.h"
#include "media/headless/headless.h"

namespace {

using state::GameState;

// mt19937_64 and plain arithmetic on it: a seed gives the same run everywhere.
struct Random {
  std::mt19937_64 engine;
  int Below(int n) { return static_cast<int>(engine() % static_cast<uint64_t>(n)); }
  int Between(int lo, int hi) { return lo + Below(hi - lo + 1); }
  bool Chance(double p) { return static_cast<double>(engine() >> 11) * 0x1.0p-53 < p; }
};

bool InRing(int v) { return v >= 1 && v <= 99; }

std::vector<int16_t> LiveSlots(const GameState& g) {
  std::vector<int16_t> slots;
  for (int i = g.ringHead; InRing(i) && InRing(g.ringTail) && i != g.ringTail; i = i % 99 + 1)
    slots.push_back(static_cast<int16_t>(i));
  return slots;
}

// Every rule g breaks, "; " after each; empty when it is sound. modeBefore is
// the mode the pass started in: names are cut only by a name-entry frame.
std::string Broken(const GameState& g, int16_t modeBefore) {
  std::string out;
  const auto need = [&out](bool ok, const std::string& what) { out += ok ? "" : what + "; "; };
  need(g.gameMode >= 0 && g.gameMode <= 2, "gameMode outside 0..2");
  need(InRing(g.ringHead) && InRing(g.ringTail), "target ring ends outside 1..99");
  // Nothing lowers maxLevel within a round and every rise lifts it.
  need(g.level >= 0 && g.level <= g.maxLevel, "level outside 0..maxLevel");
  need(g.score >= 0 && g.hitCount >= 0, "negative score or hit count");
  need(g.combo >= 0 && g.combo <= g.maxLevel, "combo outside 0..maxLevel");
  need(g.roundTime >= 0 && g.roundTime <= 120000, "roundTime outside 0..120000");
  need(std::is_sorted(g.rankKeys.rbegin(), g.rankKeys.rend()), "ranking keys out of order");
  need(modeBefore != state::kModeNameEntry || g.entryName.size() <= 10, "name longer than 10");
  // The lock ring: exactly the lockCount slots from lockHead on hold a lock,
  // each a different target that still has its letter; slot 8 is never used.
  const bool lockRing = g.lockHead >= 0 && g.lockHead <= 7 && g.lockCount >= 0 &&
                        g.lockCount <= 8 && g.lockTail == (g.lockHead + g.lockCount) % 8;
  need(lockRing && g.lockQueue[8] == 0, "lock ring ends or count");
  std::set<int16_t> locked;
  for (int k = 0; lockRing && k < 8; ++k) {
    const int16_t t = g.lockQueue[(g.lockHead + k) % 8];
    need((k < g.lockCount) == (t != 0), "lock slot filled out of turn");
    if (t == 0) continue;
    need(InRing(t) && locked.insert(t).second && g.targets[t].keyCode != 0,
         "lock of target " + std::to_string(t) + " outside the ring, twice or without a letter");
  }
  // Letters leave the ring only by a hit or a bottom-out, which clear them.
  std::vector<bool> live(g.targets.size(), false);
  for (int16_t i : LiveSlots(g)) live[i] = true;
  for (size_t i = 0; i < g.targets.size(); ++i) {
    const state::Target& t = g.targets[i];
    need(std::isfinite(t.x + t.y + t.vx), "target not a number");
    need(t.keyCode == 0 || (live[i] && t.x >= 100.0 && t.x <= 490.0),
         "letter outside the live ring or past the walls");
  }
  for (const auto& p : g.shotTrail) need(std::isfinite(p.x + p.y), "shot NaN");
  need(std::isfinite(g.pacing.shotStepX + g.pacing.shotStepY), "shot step NaN");
  for (const state::Popup& p : g.popups)
    need(p.timeLeft >= 0 && std::isfinite(p.x + p.y), "pop-up broken");
  return out;
}

// The headless platform, with a hook that plays each pass before the loop runs it.
struct SoakSystem : media::System {
  std::shared_ptr<media::Root> CreateRoot() override { return platform.CreateRoot(); }
  uint32_t GetTickCount() override { return platform.Tick(); }
  bool BeginPass() override { return hook(); }
  void DispatchMessages(media::WindowEvents&) override {}
  media::HeadlessPlatform platform;
  std::function<bool()> hook;
};

struct Totals {
  int64_t rounds = 0, passes = 0, nameEntries = 0, namesEntered = 0, dropped = 0;
  std::map<std::string, int64_t> sounds;  // plays of each sound
  int16_t highestLevel = 0;
};

// The bot: right letters, wrong keys, long names, releases of any key, and
// now and then more events than the 64-event device holds. Never presses
// Esc: quitting is the session's decision.
struct Bot {
  Random rng;
  media::HeadlessPlatform& platform;
  Totals& totals;

  void Down(int32_t code, int32_t data = media::kKeyDown) {
    totals.dropped += !platform.QueueKey(code, data);
  }
  void Press(int32_t code) {
    Down(code);
    if (rng.Chance(0.5)) Down(code, 0);
  }

  void Act(const GameState& g) {
    // O among the wrong keys opened the options: change some, then leave
    // with one Esc (a second would reach the title and quit).
    leaving = leaving && g.options.open;
    if (g.options.open) {
      if (!leaving && rng.Chance(0.3)) Press(std::array{200, 203, 205, 208}[rng.Below(4)]);
      if (!leaving && rng.Chance(0.1)) Press(state::kKeyEsc), leaving = true;
      return;
    }
    if (rng.Chance(0.005)) {  // a burst of presses and releases: some are dropped
      for (int k = rng.Between(65, 100); k > 0; --k)
        Down(rng.Between(2, 255), rng.Below(2) * media::kKeyDown);
      return;
    }
    bool locking = g.lockCount > 0;
    for (int16_t i : LiveSlots(g)) {  // letters not yet locked, a few at a time
      if (g.targets[i].keyCode != 0 && std::count(g.lockQueue.begin(), g.lockQueue.end(), i) == 0 &&
          rng.Chance(0.2)) {
        Press(g.targets[i].keyCode);
        locking = true;
      }
    }
    // Wrong keys in play and on the title; in name entry they type, now and
    // then far more than the ten characters a name may hold.
    const bool entry = g.gameMode == state::kModeNameEntry;
    for (int k = rng.Chance(entry ? 0.5 : 0.05) ? rng.Between(1, rng.Chance(0.1) ? 20 : 3) : 0;
         k > 0; --k)
      Press(rng.Between(2, 255));
    if (entry && rng.Chance(0.15)) Press(state::kKeyBackspace);
    // Fire, enter the name or start a round; two starts in one frame reset
    // twice, and the round still begins once.
    if ((locking && !g.shotActive && rng.Chance(0.6)) || rng.Chance(entry ? 0.12 : 0.1))
      Press(rng.Chance(0.5) ? state::kKeySpace : state::kKeyEnter);
    if (rng.Chance(0.02)) Press(state::kKeySpace);
    // A release of any key, Esc included, must do nothing.
    if (rng.Chance(0.05)) Down(rng.Between(1, 255), 0);
  }

  bool leaving = false;  // Esc pressed to close the options

  // The elapsed time of the next pass, from 0 ms to now and then 40 s.
  uint32_t NextElapsedMs() {
    const int pick = rng.Below(10000);
    for (const auto& [ms, below] :
         {std::pair{0, 400}, {1, 1000}, {16, 3500}, {33, 5500}, {100, 7500}, {1000, 9975}})
      if (pick < below) return static_cast<uint32_t>(ms);
    return 40000;
  }
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

// Plays one session in dir; its first failure, or empty.
std::string PlaySession(uint64_t seed, int64_t session, int64_t rounds, const std::string& dir,
                        Totals& totals) {
  GameState g;
  SoakSystem system;
  Random sessionRng{
      std::mt19937_64{seed ^ (static_cast<uint64_t>(session) * 0xD1B54A32D192ED03ULL)}};
  Bot bot{{std::mt19937_64{sessionRng.engine()}}, system.platform, totals};
  // Sessions start where the tick counter crosses 2^31 or wraps at 2^32.
  const auto jitter = static_cast<uint32_t>(sessionRng.Below(200000));
  system.platform.SetTick(session % 3 == 0   ? static_cast<uint32_t>(sessionRng.engine())
                          : session % 3 == 1 ? 0x7FFFFFFFu - jitter
                                             : 0xFFFFFFFFu - jitter);
  int64_t played = 0, passes = 0, passesInMode = 0, quitPasses = 0;
  int16_t modeBefore = state::kModeTitle;
  std::string failure;
  const auto fail = [&](const std::string& what) {
    if (!failure.empty()) return false;  // the first one counts
    failure = "seed " + std::to_string(seed) + " session " + std::to_string(session) + " round " +
              std::to_string(totals.rounds + 1) + ": " + what;
    return false;
  };
  // The main loop's hook: checks the pass just run, then sets up the next.
  system.hook = [&] {
    if (passes > 0) {
      if (const std::string broken = Broken(g, modeBefore); !broken.empty()) return fail(broken);
      const auto& ops = system.platform.FrameOps();
      const auto isFlip = [](const media::SurfaceOp& op) {
        return op.kind == media::SurfaceOp::Kind::Flip;
      };
      if (std::count_if(ops.begin(), ops.end(), isFlip) != 1 || !isFlip(ops.back()))
        return fail("a pass did not end with its one flip");
      for (const std::string& sound : system.platform.TakeSoundLog()) ++totals.sounds[sound];
      if (g.quitRequested && quitPasses == 0) return fail("the game quit on its own");
      if (modeBefore == state::kModeTitle && g.gameMode == state::kModePlaying) {
        // A new round with its own bot seed; a quarter start higher up, so that
        // drifting words, the pace above level 20 and ranking keys at their
        // 32-bit limit come up quickly.
        Random pick{std::mt19937_64{seed ^ 0x5EEDu ^ (static_cast<uint64_t>(totals.rounds) << 20)}};
        bot.rng.engine.seed(pick.engine());
        static constexpr int16_t kHeadStarts[] = {5, 6, 8, 12, 21, 25, 40, 100, 214};
        if (pick.Chance(0.25)) g.level = g.maxLevel = kHeadStarts[pick.Below(9)];
      }
      if (modeBefore == state::kModePlaying && g.gameMode != state::kModePlaying) {
        ++played, ++totals.rounds;
        totals.nameEntries += g.gameMode == state::kModeNameEntry;
        totals.highestLevel = std::max(totals.highestLevel, g.maxLevel);
      }
      totals.namesEntered += modeBefore == state::kModeNameEntry && g.gameMode == state::kModeTitle;
      passesInMode = g.gameMode == modeBefore ? passesInMode + 1 : 0;
      // A round takes a few hundred passes.
      if (passesInMode > 200000) return fail("stuck in mode " + std::to_string(g.gameMode));
    }
    if (g.quitRequested) return true;  // the loop ends at its quit test
    if (played < rounds) {
      bot.Act(g);
    } else if (++quitPasses > 100) {
      return fail("the game did not quit after Esc");
    } else {
      system.platform.QueueKey(state::kKeyEsc, media::kKeyDown);
    }
    system.platform.Advance(bot.NextElapsedMs());
    system.platform.ClearFrame();
    modeBefore = g.gameMode;
    ++passes, ++totals.passes;
    return true;
  };

  const std::string myPath = game::MyPath(dir);
  game::StartUp(g, system, myPath);
  if (const std::string broken = Broken(g, state::kModeTitle); !broken.empty()) fail(broken);
  if (!failure.empty()) return failure;
  // Nothing in a soak's folder is damaged, and every save goes through.
  game::RunMainLoop(g, system, myPath, [&fail](const std::string& line) { fail(line); });
  if (!failure.empty()) return failure;
  if (!g.quitRequested) fail("the main loop ended without the quit flag");
  game::ShutDown(g, system, myPath);
  return failure;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The folder every input plays in, made once; the word list of the game's own.
struct Folder {
  std::string path;
  std::string words;
  Folder() {
    char name[] = "/tmp/rapiko-fuzz-play-XXXXXX";
    if (mkdtemp(name) == nullptr) std::abort();
    path = std::string(name) + "/";
    words = ReadFile(std::string(RAPIKO_ASSETS_DIR) + "/rapdata.ini");
    std::ofstream(path + "back.bmp", std::ios::binary)
        << ReadFile(std::string(RAPIKO_ASSETS_DIR) + "/back.bmp");
  }
};

}  // namespace

// The input's first eight bytes are the seed, the next the session's kind (its
// word list and where its tick counter starts), the next the rounds (1 or 2).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const Folder folder;
  uint64_t seed = 0;
  // An empty input may come without any bytes to point at (a null data).
  if (size > 0) std::memcpy(&seed, data, std::min<size_t>(size, sizeof seed));
  const int64_t session = size > 8 ? data[8] : 0;
  const int64_t rounds = size > 9 ? 1 + data[9] % 2 : 1;
  // A first run now and then, so that results keep reaching the ranking.
  if (session % 5 == 0) std::remove((folder.path + "rapikosc.ini").c_str());
  std::remove((folder.path + "rapdata.ini").c_str());
  if (const std::string list = WordsOfSession(session, folder.words); !list.empty()) {
    std::ofstream(folder.path + "rapdata.ini", std::ios::binary) << list;
  }
  Totals totals;
  const std::string failure = PlaySession(seed, session, rounds, folder.path, totals);
  if (!failure.empty()) {
    std::fprintf(stderr, "play broken: %s\n", failure.c_str());
    std::abort();
  }
  if (totals.sounds["WAVEND.play"] != totals.rounds) {
    std::fprintf(stderr, "play broken: the end cue did not play once a round\n");
    std::abort();
  }
  return 0;
}
