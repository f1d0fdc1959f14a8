// The real machine through SDL: a window or full screen, sound, keyboard, clock.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "media/platform.h"

namespace media {

// How a key press is turned into the game's key code.
enum class KeyReading {
  Character,  // the key code of the character it types on the player's layout
  Position,   // the key code of its place on the keyboard, whatever it types
};

struct SdlOptions {
  bool window = false;  // a window instead of the desktop's full screen
  // Window size as a multiple of 640 x 480; 0: the largest whole multiple
  // that fits the desktop's usable area.
  int32_t scale = 0;
  // Where the embedded glyph sheet and sounds come from; FindResource when
  // empty. Tests give their own.
  std::function<std::span<const uint8_t>(std::string_view)> resources;
  KeyReading keys = KeyReading::Character;
  bool mute = false;  // no sound device at all
  // Receives one line about what the game does without (no sound device).
  std::function<void(const std::string&)> notice;
};

// Throws PlatformError with one clear line when SDL cannot start.
std::unique_ptr<System> CreateSdlSystem(const SdlOptions& options);

}  // namespace media
