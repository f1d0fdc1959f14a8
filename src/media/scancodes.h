// PC set-1 key codes (the numbering the game uses) of SDL's physical keys.
#pragma once

#include <cstdint>

namespace media {

// The set-1 code of an SDL scancode (SDL_Scancode as an int), or 0 for a
// key that has none. Keys of the extended set have 128 added (arrows, the
// number pad's Enter and slash, right Ctrl and Alt, ...).
int32_t Set1FromSdlScancode(int32_t scancode);

}  // namespace media
