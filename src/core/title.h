// The title screen with the ranking, and the round reset.
#pragma once

#include "core/game_state.h"

namespace core {

constexpr media::Rgb kDarkPurple = media::MakeRgb(102, 0, 51);
constexpr media::Rgb kPalePink = media::MakeRgb(255, 230, 230);
constexpr media::Rgb kWhite = media::MakeRgb(255, 255, 255);
constexpr media::Rgb kPureRed = media::MakeRgb(255, 0, 0);

void ReadTitleKeys(GameState& g);
void DrawTitleScreen(GameState& g);
void ResetRound(GameState& g);

}  // namespace core
