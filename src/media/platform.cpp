// What every machine around the game does alike.
#include "media/platform.h"

#include <chrono>
#include <thread>

namespace media {

// Machines whose clock is the real one sleep; a script's or a test's clock
// moves on its own.
void System::Wait(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

}  // namespace media
