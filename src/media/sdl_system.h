// The real machine through SDL: a window or full screen, sound, keyboard, clock.
#pragma once

#include <cstdint>
#include <memory>

#include "media/platform.h"

namespace media {

struct SdlOptions {
  bool window = false;  // a window instead of the desktop's full screen
  int32_t scale = 1;    // window size as a multiple of 640 x 480
};

// Throws PlatformError with one clear line when SDL cannot start.
std::unique_ptr<System> CreateSdlSystem(const SdlOptions& options);

}  // namespace media
