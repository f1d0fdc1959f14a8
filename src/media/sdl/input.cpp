// The keyboard through SDL: key events in the order typed, as set-1 codes.
#include <SDL.h>

#include "media/scancodes.h"
#include "media/sdl/context.h"
#include "media/us_keyboard.h"

namespace media {
namespace {

class SdlKeyboard : public KeyboardDevice {
 public:
  explicit SdlKeyboard(SdlContextPtr context) : context_(std::move(context)) {}
  ~SdlKeyboard() override {
    if (acquired_) context_->SetCollectingKeys(false);
  }

  void SetDataFormatKeyboard() override {}
  void SetCooperativeLevel(int32_t) override {}
  // The queue holds 64 events, the size the game asks for.
  void SetBufferSize(int32_t) override {}

  void Acquire() override {
    acquired_ = true;
    context_->SetCollectingKeys(true);
  }
  void Unacquire() override {
    acquired_ = false;
    context_->SetCollectingKeys(false);
  }

  int32_t GetDeviceData(std::span<KeyEvent> events) override {
    if (!acquired_) throw PlatformError("keyboard not acquired");
    // Keys typed while the frame was drawn are read now, not a frame later.
    context_->PumpKeys();
    auto& keys = context_->Keys();
    int32_t count = 0;
    while (!keys.empty() && static_cast<size_t>(count) < events.size()) {
      events[static_cast<size_t>(count)] = keys.front();
      keys.pop_front();
      ++count;
    }
    return count;
  }

  char32_t KeyCharacter(int32_t keyCode) override {
    if (context_->Options().keys == KeyReading::Position) {
      return KeyCap(UsCharacterOfSet1(keyCode));
    }
    const int32_t scancode = SdlScancodeFromSet1(keyCode);
    if (scancode == 0) return 0;
    return KeyCapOfSdlKeycode(SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(scancode)));
  }

 private:
  SdlContextPtr context_;
  bool acquired_ = false;
};

class SdlInput : public Input {
 public:
  explicit SdlInput(SdlContextPtr context) : context_(std::move(context)) {}
  std::shared_ptr<KeyboardDevice> CreateKeyboardDevice() override {
    return std::make_shared<SdlKeyboard>(context_);
  }

 private:
  SdlContextPtr context_;
};

}  // namespace

std::shared_ptr<Input> MakeSdlInput(SdlContextPtr context) {
  return std::make_shared<SdlInput>(std::move(context));
}

}  // namespace media
