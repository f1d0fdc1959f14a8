// Test doubles of the media objects, and a GameState wired to them.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "media/platform.h"
#include "state/game_state.h"

namespace testing_support {

// A surface that logs where each blit lands, and draws nothing.
class BlitLog : public media::Surface {
 public:
  explicit BlitLog(std::vector<int32_t>* xs) : xs_(xs) {}
  bool FastBlit(int32_t x, int32_t, media::Surface&, media::Rect, media::BlitFlags) override {
    xs_->push_back(x);
    return true;
  }
  void DrawBox(int32_t, int32_t, int32_t, int32_t) override {}
  void DrawText(int32_t, int32_t, const std::string&) override {}
  void SetForeColor(media::Rgb) override {}
  void SetFillColor(media::Rgb) override {}
  void Flip() override {}
  std::shared_ptr<media::Surface> GetAttachedSurface() override { return nullptr; }
  void SetColorKey(uint8_t) override {}
  void SetPalette(std::shared_ptr<media::Palette>) override {}

 private:
  std::vector<int32_t>* xs_;
};

class LoggingSoundBuffer : public media::SoundBuffer {
 public:
  LoggingSoundBuffer(std::string name, std::vector<std::string>* log)
      : name_(std::move(name)), log_(log) {}
  void Play() override { log_->push_back(name_ + ".play"); }
  void SetCurrentPosition(int32_t) override { log_->push_back(name_ + ".rewind"); }

 private:
  std::string name_;
  std::vector<std::string>* log_;
};

class QueueKeyboard : public media::KeyboardDevice {
 public:
  void SetDataFormatKeyboard() override {}
  void SetCooperativeLevel(int32_t) override {}
  void SetBufferSize(int32_t) override {}
  void Acquire() override {}
  void Unacquire() override {}
  int32_t GetDeviceData(std::span<media::KeyEvent> events) override;
  char32_t KeyCharacter(int32_t keyCode) override;
  std::deque<media::KeyEvent> queue;
};

// A GameState wired to the fakes above, with the start-up values of play.
struct Rig {
  Rig();
  // Fills the word tables the way the word file leaves them, letter X as CodeOf(X).
  void LoadWords(const std::vector<std::string>& words);
  static int16_t CodeOf(char c) { return static_cast<int16_t>(c - 'A' + 16); }  // distinct codes
  state::GameState g;
  std::vector<int32_t> blits;  // the x of each blit, on any surface
  std::vector<std::string> sounds;
  std::shared_ptr<QueueKeyboard> keys;
};

}  // namespace testing_support
