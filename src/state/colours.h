// The colours the game draws its boxes and texts with.
#pragma once

#include "media/platform.h"

namespace state {

constexpr media::Rgb kDarkPurple = media::MakeRgb(102, 0, 51);
constexpr media::Rgb kPalePink = media::MakeRgb(255, 230, 230);
constexpr media::Rgb kWhite = media::MakeRgb(255, 255, 255);
constexpr media::Rgb kPureRed = media::MakeRgb(255, 0, 0);
// A line of the options screen that cannot be chosen now: quieter than the others, still read.
constexpr media::Rgb kUnavailable = media::MakeRgb(140, 110, 125);

// The statistics screen: the chart's bars, dots and grid, and the key map's
// shades from no miss to most missed (lightest first), and keys without a count.
constexpr media::Rgb kChartBar = media::MakeRgb(150, 110, 225);
constexpr media::Rgb kChartBarText = media::MakeRgb(140, 80, 215);
constexpr media::Rgb kChartDot = media::MakeRgb(0, 120, 45);
constexpr media::Rgb kChartGrid = media::MakeRgb(222, 222, 222);
constexpr media::Rgb kKeyNoCount = media::MakeRgb(222, 222, 222);
constexpr media::Rgb kMissShades[] = {media::MakeRgb(255, 255, 255), media::MakeRgb(255, 200, 220),
                                      media::MakeRgb(232, 158, 194), media::MakeRgb(255, 0, 0),
                                      media::MakeRgb(160, 0, 20)};

}  // namespace state
