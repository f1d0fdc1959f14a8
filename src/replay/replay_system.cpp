// Showing a recorded game in the window at the pace it was played.
#include "replay/replay_system.h"

#include <algorithm>
#include <array>
#include <utility>

#include "media/forwarding.h"
#include "media/quit_signals.h"

namespace replay {
namespace {

// How often a wait for the recording's pace looks for a signal to quit.
constexpr uint32_t kSignalCheckMs = 50;

// The window's primary surface, whose flips are left out while the replay
// runs through rounds nobody watches (a flip would wait for the display).
class ReplayPrimary : public media::ForwardingSurface {
 public:
  ReplayPrimary(std::shared_ptr<media::Surface> inner, std::shared_ptr<bool> showing)
      : ForwardingSurface(std::move(inner)), showing_(std::move(showing)) {}
  void Flip() override {
    if (*showing_) inner_->Flip();
  }

 private:
  std::shared_ptr<bool> showing_;
};

class ReplayDisplay : public media::ForwardingDisplay {
 public:
  ReplayDisplay(std::shared_ptr<media::Display> inner, std::shared_ptr<bool> showing)
      : ForwardingDisplay(std::move(inner)), showing_(std::move(showing)) {}
  std::shared_ptr<media::Surface> CreatePrimarySurface(int32_t backBufferCount) override {
    return std::make_shared<ReplayPrimary>(inner_->CreatePrimarySurface(backBufferCount), showing_);
  }

 private:
  std::shared_ptr<bool> showing_;
};

// Picture and sound from the window, keys from the script.
class ReplayRoot : public media::ForwardingRoot {
 public:
  ReplayRoot(std::shared_ptr<media::Root> window, std::shared_ptr<media::Root> scripted,
             std::shared_ptr<bool> showing)
      : ForwardingRoot(std::move(window)),
        scripted_(std::move(scripted)),
        showing_(std::move(showing)) {}
  std::shared_ptr<media::Display> CreateDisplay() override {
    return std::make_shared<ReplayDisplay>(inner_->CreateDisplay(), showing_);
  }
  std::shared_ptr<media::Input> CreateInput() override { return scripted_->CreateInput(); }

 private:
  std::shared_ptr<media::Root> scripted_;
  std::shared_ptr<bool> showing_;
};

// The window's own messages only stop the replay.
class StopOnWindowEvents : public media::WindowEvents {
 public:
  explicit StopOnWindowEvents(bool& stopped) : stopped_(stopped) {}
  void OnMouseDown() override { stopped_ = true; }
  void OnCloseRequest() override { stopped_ = true; }
  // A replay shows what was recorded, focus or not.
  void OnFocusLost() override {}
  void OnFocusGained() override {}

 private:
  bool& stopped_;
};

}  // namespace

ReplaySystem::ReplaySystem(media::System& scripted, media::System& window, int skipRounds)
    : scripted_(scripted), window_(window), skipRounds_(skipRounds) {
  *showing_ = skipRounds_ == 0;
}

std::shared_ptr<media::Root> ReplaySystem::CreateRoot() {
  std::shared_ptr<media::Root> window = window_.CreateRoot();
  if (!windowKeys_) {
    windowKeys_ = window->CreateInput()->CreateKeyboardDevice();
    windowKeys_->Acquire();
  }
  return std::make_shared<ReplayRoot>(window, scripted_.CreateRoot(), showing_);
}

bool ReplaySystem::Showing() const { return roundsStarted_ > skipRounds_ || skipRounds_ == 0; }

bool ReplaySystem::BeginPass() {
  if (stopped_ || !scripted_.BeginPass()) return false;
  if (game_) {
    if (lastMode_ != state::kModePlaying && game_->gameMode == state::kModePlaying) {
      ++roundsStarted_;
    }
    lastMode_ = game_->gameMode;
  }
  *showing_ = Showing();
  if (!*showing_) return true;
  const uint32_t now = scripted_.GetTickCount();
  if (!paced_) {
    paced_ = true;
    windowStart_ = window_.GetTickCount();
    scriptStart_ = now;
  }
  // Both clocks wrap at 2^32, and so do the times since their starts.
  const uint32_t due = now - scriptStart_;
  // The wait ends for the window's messages, so Esc, a click or its close
  // ends even a pass of hours at once; a signal wakes no window, so it is
  // looked for every kSignalCheckMs.
  while (!stopped_ && !media::QuitSignalled()) {
    const uint32_t left = due - (window_.GetTickCount() - windowStart_);
    if (int32_t(left) <= 0) break;
    window_.Wait(std::min(left, kSignalCheckMs));
    HearWindow();
  }
  return !stopped_;
}

void ReplaySystem::DispatchMessages(media::WindowEvents& events) {
  scripted_.DispatchMessages(events);  // the recorded clicks
  HearWindow();
}

void ReplaySystem::HearWindow() {
  StopOnWindowEvents stop(stopped_);
  window_.DispatchMessages(stop);
  if (!windowKeys_) return;
  std::array<media::KeyEvent, state::kKeyBatchSize> keys{};
  const int32_t count = windowKeys_->GetDeviceData(keys);
  for (int32_t i = 0; i < count; ++i) {
    if (keys[i].keyCode == state::kKeyEsc && keys[i].data == media::kKeyDown) stopped_ = true;
  }
}

}  // namespace replay
