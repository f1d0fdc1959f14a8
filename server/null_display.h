// A display that draws nothing: a round replayed for its result needs the
// rules, not the pictures.
#pragma once

#include <memory>

#include "media/platform.h"

namespace server {

// A root whose display draws nothing and reads no file; its sound device and
// keyboard are those of inner (the scripted run's), so keys reach the game
// exactly as in a headless run. No rule of the game reads a picture back.
std::shared_ptr<media::Root> RootWithoutPictures(std::shared_ptr<media::Root> inner);

}  // namespace server
