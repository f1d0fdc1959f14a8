// The real machine through SDL: a window or full screen, sound, keyboard, clock.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string_view>

#include "media/platform.h"

namespace media {

struct SdlOptions {
  bool window = false;  // a window instead of the desktop's full screen
  // Window size as a multiple of 640 x 480; 0: the largest whole multiple
  // that fits the desktop's usable area.
  int32_t scale = 0;
  // Where the embedded glyph sheet and sounds come from; FindResource when
  // empty. Tests give their own.
  std::function<std::span<const uint8_t>(std::string_view)> resources;
};

// Throws PlatformError with one clear line when SDL cannot start.
std::unique_ptr<System> CreateSdlSystem(const SdlOptions& options);

}  // namespace media
