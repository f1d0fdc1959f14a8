// The soak: a bot plays RAPIKO_SOAK_ROUNDS rounds (200 by default) in-process
// while every invariant is checked after every pass.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/frame_tick.h"
#include "core/lifecycle.h"
#include "soak/soak_bot.h"
#include "soak/soak_run.h"
#include "soak/soak_system.h"
#include "support/script_run.h"

namespace {

constexpr int64_t kDefaultRounds = 200;
constexpr uint64_t kDefaultSeed = 20240611;

// A whole non-negative number from the environment, or the default.
bool EnvNumber(const char* name, uint64_t fallback, uint64_t& value) {
  const char* text = std::getenv(name);
  value = fallback;
  if (text == nullptr || *text == '\0') return true;
  char* end = nullptr;
  value = std::strtoull(text, &end, 10);
  return *end == '\0' && *text != '-';
}

std::string DefaultWords() {
  return testing_support::ReadFileBytes(std::string(RAPIKO_ASSETS_DIR) + "/rapdata.ini");
}

TEST(Soak, BotPlaysRoundsWithEveryInvariantHolding) {
  uint64_t rounds = 0;
  uint64_t seed = 0;
  ASSERT_TRUE(EnvNumber("RAPIKO_SOAK_ROUNDS", kDefaultRounds, rounds))
      << "RAPIKO_SOAK_ROUNDS must be a whole number";
  ASSERT_TRUE(EnvNumber("RAPIKO_SOAK_SEED", kDefaultSeed, seed))
      << "RAPIKO_SOAK_SEED must be a whole number";
  const std::string words = DefaultWords();
  ASSERT_FALSE(words.empty());

  testing_support::GameDir dir("");
  soak::SoakRun run({seed, static_cast<int64_t>(rounds), 10}, dir.Path(), words);
  const auto started = std::chrono::steady_clock::now();
  const std::optional<std::string> failure = run.Run();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

  const soak::SoakTotals& t = run.Totals();
  std::printf(
      "soak: seed %llu, %lld rounds, %lld passes, %lld sessions, %.1f s wall time\n"
      "soak: %lld hits, %lld bottom-outs, %lld wrong-key cues, %lld name entries (%lld closed)\n"
      "soak: highest level %d; %lld rounds went past level 4, %lld past level 20 "
      "(%lld had a head start)\n"
      "soak: bot keys: %lld right, %lld wrong, %lld fire, %lld releases, %lld bursts, "
      "%lld dropped by the full device\n",
      static_cast<unsigned long long>(seed), static_cast<long long>(t.rounds),
      static_cast<long long>(t.passes), static_cast<long long>(t.sessions), seconds,
      static_cast<long long>(t.hits), static_cast<long long>(t.bottomOuts),
      static_cast<long long>(t.wrongCues), static_cast<long long>(t.nameEntries),
      static_cast<long long>(t.namesEntered), t.highestLevel,
      static_cast<long long>(t.roundsPastLevel4), static_cast<long long>(t.roundsPastLevel20),
      static_cast<long long>(t.headStarts), static_cast<long long>(t.bot.rightKeys),
      static_cast<long long>(t.bot.wrongKeys), static_cast<long long>(t.bot.fires),
      static_cast<long long>(t.bot.releases), static_cast<long long>(t.bot.bursts),
      static_cast<long long>(t.bot.dropped));
  RecordProperty("rounds", std::to_string(t.rounds));
  RecordProperty("passes", std::to_string(t.passes));

  if (failure) FAIL() << *failure;
  EXPECT_EQ(t.rounds, static_cast<int64_t>(rounds));
  if (rounds >= 50) {
    // A soak that never met these would prove little.
    EXPECT_GT(t.hits, 0);
    EXPECT_GT(t.bottomOuts, 0);
    EXPECT_GT(t.wrongCues, 0);
    EXPECT_GT(t.nameEntries, 0);
    EXPECT_GT(t.namesEntered, 0);
    EXPECT_LT(t.nameEntries, t.rounds) << "no round ended below the tenth place";
    EXPECT_GT(t.bot.dropped, 0);
  }
}

TEST(Soak, SameSeedPlaysTheSameGame) {
  const std::string words = DefaultWords();
  soak::SoakTotals first;
  for (int run = 0; run < 2; ++run) {
    testing_support::GameDir dir("");
    soak::SoakRun r({77, 3, 2}, dir.Path(), words);
    const auto failure = r.Run();
    if (failure) FAIL() << *failure;
    if (run == 0) {
      first = r.Totals();
      continue;
    }
    EXPECT_EQ(r.Totals().passes, first.passes);
    EXPECT_EQ(r.Totals().hits, first.hits);
    EXPECT_EQ(r.Totals().bot.rightKeys, first.bot.rightKeys);
  }
}

// The bot's right letters are right by the game's own judgement: each locks
// a letter and none plays the wrong-key cue.
TEST(SoakBot, UnlockedTargetsAreTheLettersTheGameLocks) {
  testing_support::GameDir dir(DefaultWords());
  soak::SoakSystem system(1234);
  core::GameState g;
  core::StartUp(g, system, core::MyPath(dir.Path()));
  media::HeadlessPlatform& platform = system.Platform();
  platform.QueueKey(core::kKeySpace, core::kKeyDown);
  int32_t ms = 16;
  int locked = 0;
  for (int pass = 0; pass < 4000 && locked < 20; ++pass) {
    const std::vector<int16_t> open = soak::UnlockedTargets(g);
    const int before = g.lockCount;
    int pressed = 0;
    for (int16_t t : open) {
      if (before + pressed == 8) break;
      platform.QueueKey(g.targets[t].keyCode, core::kKeyDown);
      ++pressed;
    }
    if (g.lockCount == 8) platform.QueueKey(core::kKeySpace, core::kKeyDown);
    platform.TakeSoundLog();
    platform.Advance(static_cast<uint32_t>(ms));
    platform.ClearFrame();
    const int hitsBefore = g.hitCount;
    core::FrameTick(g, ms);
    if (g.gameMode != core::kModePlaying) continue;
    for (const std::string& sound : platform.TakeSoundLog()) {
      ASSERT_NE(sound, "sndKyan.play") << "pass " << pass;
    }
    // Hits of this pass take locks away again; a bottom-out empties the queue.
    if (g.hitCount == hitsBefore && g.lockCount != 0) {
      EXPECT_EQ(g.lockCount, before + pressed) << "pass " << pass;
    }
    locked += pressed;
  }
  EXPECT_GE(locked, 20);
}

}  // namespace
