// The system that records what another one delivers to the game.
#include "replay/recording_system.h"

namespace replay {
namespace {

class RecordingKeyboard : public media::ForwardingKeyboard {
 public:
  RecordingKeyboard(std::shared_ptr<media::KeyboardDevice> inner, Recording& recording)
      : ForwardingKeyboard(std::move(inner)), recording_(recording) {}
  int32_t GetDeviceData(std::span<media::KeyEvent> events) override {
    const int32_t count = inner_->GetDeviceData(events);
    for (int32_t i = 0; i < count; ++i) recording_.Key(events[static_cast<size_t>(i)]);
    return count;
  }

 private:
  Recording& recording_;
};

class RecordingInput : public media::ForwardingInput {
 public:
  RecordingInput(std::shared_ptr<media::Input> inner, Recording& recording)
      : ForwardingInput(std::move(inner)), recording_(recording) {}
  std::shared_ptr<media::KeyboardDevice> CreateKeyboardDevice() override {
    return std::make_shared<RecordingKeyboard>(inner_->CreateKeyboardDevice(), recording_);
  }

 private:
  Recording& recording_;
};

class RecordingRoot : public media::ForwardingRoot {
 public:
  RecordingRoot(std::shared_ptr<media::Root> inner, Recording& recording)
      : ForwardingRoot(std::move(inner)), recording_(recording) {}
  std::shared_ptr<media::Input> CreateInput() override {
    return std::make_shared<RecordingInput>(inner_->CreateInput(), recording_);
  }

 private:
  Recording& recording_;
};

// Passes the window's messages on, noting the ones that end the game (a
// click and a close request both quit, which a script's `click` does too)
// and the focus changes that pause a round.
class RecordingEvents : public media::ForwardingWindowEvents {
 public:
  RecordingEvents(media::WindowEvents& inner, Recording& recording)
      : ForwardingWindowEvents(inner), recording_(recording) {}
  void OnMouseDown() override {
    recording_.Click();
    inner_.OnMouseDown();
  }
  void OnCloseRequest() override {
    recording_.Click();
    inner_.OnCloseRequest();
  }
  void OnFocusLost() override {
    recording_.Focus(false);
    inner_.OnFocusLost();
  }
  void OnFocusGained() override {
    recording_.Focus(true);
    inner_.OnFocusGained();
  }

 private:
  Recording& recording_;
};

}  // namespace

RecordingSystem::RecordingSystem(media::System& inner, Recording& recording)
    : ForwardingSystem(inner), recording_(recording) {}

std::shared_ptr<media::Root> RecordingSystem::CreateRoot() {
  return std::make_shared<RecordingRoot>(inner_.CreateRoot(), recording_);
}

uint32_t RecordingSystem::GetTickCount() {
  const uint32_t now = inner_.GetTickCount();
  if (!started_) {
    started_ = true;
    recording_.Start(now);
  } else if (passBegun_) {
    passBegun_ = false;
    inPass_ = true;
    pendingMs_ = now - lastTick_;  // modulo 2^32, as the game takes it
  }
  lastTick_ = now;
  return now;
}

bool RecordingSystem::BeginPass() {
  passBegun_ = true;
  return inner_.BeginPass();
}

void RecordingSystem::SetGame(const state::GameState* game, std::vector<RoundEvents*> rounds) {
  game_ = game;
  rounds_ = std::move(rounds);
}

void RecordingSystem::DispatchMessages(media::WindowEvents& events) {
  if (!inPass_) {  // shutdown's last look at the messages
    inner_.DispatchMessages(events);
    return;
  }
  RecordingEvents recorded(events, recording_);
  inner_.DispatchMessages(recorded);
  inPass_ = false;
  recording_.Pass(pendingMs_);
  if (!game_) return;
  const int16_t mode = game_->gameMode;
  if (mode == state::kModePlaying && lastMode_ != state::kModePlaying) {
    // Noted after the pass in which Space started it.
    recording_.Note("round " + std::to_string(++round_));
    for (RoundEvents* r : rounds_) r->RoundStarted(*game_, round_, lastTick_);
  } else if (mode != state::kModePlaying && lastMode_ == state::kModePlaying &&
             !game_->quitRequested) {
    for (RoundEvents* r : rounds_) r->RoundEnded(*game_, round_, game_->score);
  } else if (mode == state::kModeTitle && lastMode_ == state::kModeNameEntry) {
    for (RoundEvents* r : rounds_) r->NameEntered(*game_, round_);
  }
  for (RoundEvents* r : rounds_) r->PassEnded(*game_);
  lastMode_ = mode;
}

}  // namespace replay
