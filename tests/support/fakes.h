// Test doubles of the media objects: surfaces, sound buffers and a keyboard
// that record what the game asks of them.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "media/platform.h"
#include "state/game_state.h"

namespace testing_support {

struct DrawCall {
  std::string op;  // "blit", "box", "text", "fore", "fill", "flip"
  int32_t x = 0, y = 0;
  std::string src;
  media::Rect rect;
  int32_t flags = 0;
  std::string text;
  media::Rgb rgb = 0;
};

class RecordingSurface : public media::Surface {
 public:
  RecordingSurface(std::string label, std::vector<DrawCall>* log)
      : label_(std::move(label)), log_(log) {}
  bool FastBlit(int32_t x, int32_t y, media::Surface& source, media::Rect rect,
                media::BlitFlags flags) override;
  void DrawBox(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
  void DrawText(int32_t x, int32_t y, const std::string& text) override;
  void SetForeColor(media::Rgb rgb) override;
  void SetFillColor(media::Rgb rgb) override;
  void Flip() override;
  std::shared_ptr<media::Surface> GetAttachedSurface() override { return nullptr; }
  void SetColorKey(uint8_t) override {}
  void SetPalette(std::shared_ptr<media::Palette>) override {}
  const std::string& Label() const { return label_; }

 private:
  std::string label_;
  std::vector<DrawCall>* log_;
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
  void Down(int32_t key);
  void Up(int32_t key);
  void Press(int32_t key) {
    Down(key);
    Up(key);
  }
  std::deque<media::KeyEvent> queue;
};

// A GameState wired to the fakes above, with the start-up values of play.
struct Rig {
  Rig();
  state::GameState g;
  std::vector<DrawCall> draws;
  std::vector<std::string> sounds;
  std::shared_ptr<QueueKeyboard> keys;
  // The draw calls of one kind, in order.
  std::vector<DrawCall> Only(const std::string& op) const;
};

}  // namespace testing_support
