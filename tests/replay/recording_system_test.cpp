// The recording system: which tick reads make a pass, which message steps are recorded, rounds.
#include "replay/recording_system.h"

#include <gtest/gtest.h>

#include <deque>

#include "replay/recording.h"

namespace {

// A system whose tick counts come from a list and whose message steps run a
// given function on the events they are handed.
class FakeSystem : public media::System {
 public:
  std::shared_ptr<media::Root> CreateRoot() override { return nullptr; }
  uint32_t GetTickCount() override {
    const uint32_t t = ticks.front();
    ticks.pop_front();
    return t;
  }
  bool BeginPass() override { return true; }
  void DispatchMessages(media::WindowEvents& events) override {
    if (messages) messages(events);
  }
  std::deque<uint32_t> ticks;
  std::function<void(media::WindowEvents&)> messages;
};

class NoEvents : public media::WindowEvents {
 public:
  void OnMouseDown() override {}
  void OnCloseRequest() override {}
  void OnFocusLost() override {}
  void OnFocusGained() override {}
};

struct Rig {
  FakeSystem inner;
  replay::Recording recording;
  replay::RecordingText text{recording};
  replay::RecordingSystem system{inner, recording};
  NoEvents events;

  // One pass of the main loop that reads the tick count `reads` times.
  void Pass(int reads = 1) {
    system.BeginPass();
    for (int i = 0; i < reads; ++i) system.GetTickCount();
    system.DispatchMessages(events);
  }
};

// Only the first read after a pass begins is the pass's own: the game may read the clock again
// within the pass without changing its length. Message steps outside a pass (before the first,
// and shutdown's last look) are passed on but leave nothing in the recording.
TEST(RecordingSystem, APassLastsFromItsFirstTickReadToTheNextAndHoldsItsOwnMessages) {
  Rig rig;
  int clicks = 0;
  rig.inner.messages = [&clicks](media::WindowEvents& e) {
    ++clicks;
    e.OnMouseDown();
  };
  rig.inner.ticks = {100, 116, 125, 140, 141, 142};
  rig.system.GetTickCount();                // start-up's seed
  rig.system.DispatchMessages(rig.events);  // before any pass
  rig.Pass(2);                              // 116 - 100, then a read at 125 within the pass
  rig.Pass(3);                              // 140 - 125
  rig.system.DispatchMessages(rig.events);  // after it, with no pass begun
  EXPECT_EQ(clicks, 4);
  EXPECT_EQ(rig.text.Text(), "start 100\nclick\ntick 16\nclick\ntick 15\n");
}

class RoundLog : public replay::RoundEvents {
 public:
  void RoundStarted(const state::GameState&, int round, uint32_t tick) override {
    log.push_back("started " + std::to_string(round) + " at " + std::to_string(tick));
  }
  void RoundEnded(const state::GameState&, int round, int32_t score) override {
    log.push_back("ended " + std::to_string(round) + " with " + std::to_string(score));
  }
  void NameEntered(const state::GameState&, int round) override {
    log.push_back("named " + std::to_string(round));
  }
  std::vector<std::string> log;
};

// Each round is noted after the pass that started it, and told when round events are given, and
// so is the end of its name entry; a round ended by quitting is no finished round; a mode that
// stays is no new round. Without a game nothing is noted.
TEST(RecordingSystem, RoundsAreNotedAndToldWhenTheyStartAndEnd) {
  for (const int with : {0, 1, 2}) {  // nothing, the game, the game and its round events
    Rig rig;
    state::GameState g;
    RoundLog rounds;
    using Told = std::vector<replay::RoundEvents*>;
    if (with) rig.system.SetGame(&g, with == 2 ? Told{&rounds} : Told{});
    rig.inner.ticks = {0, 10, 20, 30, 40, 50, 60, 70, 80};
    rig.system.GetTickCount();
    const struct {
      int16_t mode;
      bool quit;
    } passes[] = {
        {state::kModeTitle, false},     {state::kModePlaying, false}, {state::kModePlaying, false},
        {state::kModeNameEntry, false}, {state::kModeTitle, false},   {state::kModePlaying, false},
        {state::kModeTitle, true},      {state::kModeTitle, false},
    };
    for (const auto& p : passes) {
      g.gameMode = p.mode;
      g.quitRequested = p.quit;
      g.score = 40;
      rig.Pass();
    }
    using Log = std::vector<std::string>;
    EXPECT_EQ(rounds.log,
              (with < 2 ? Log{}
                        : Log{"started 1 at 20", "ended 1 with 40", "named 1", "started 2 at 60"}));
    EXPECT_EQ(rig.text.Text(),
              with ? "start 0\ntick 10 2\n# round 1\ntick 10 4\n# round 2\ntick 10 2\n"
                   : "start 0\ntick 10 8\n");
  }
}

}  // namespace
