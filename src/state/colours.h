// The colours the game draws its boxes and texts with.
#pragma once

#include "media/platform.h"

namespace state {

constexpr media::Rgb kDarkPurple = media::MakeRgb(102, 0, 51);
constexpr media::Rgb kPalePink = media::MakeRgb(255, 230, 230);
constexpr media::Rgb kWhite = media::MakeRgb(255, 255, 255);
constexpr media::Rgb kPureRed = media::MakeRgb(255, 0, 0);

}  // namespace state
