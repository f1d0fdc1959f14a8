// The title screen with the ranking, and the round reset.
#include "core/title.h"

#include <array>
#include <string>

namespace core {

void ReadTitleKeys(GameState& g) {
  std::array<media::KeyEvent, 5> events{};
  g.keyboard->GetDeviceData(events);
  // Every record is looked at: Space twice resets twice, Esc with Space
  // both starts and quits.
  for (const media::KeyEvent& e : events) {
    if (e.data != kKeyDown) continue;
    if (e.keyCode == kKeyEsc) {
      g.quitRequested = true;
    } else if (e.keyCode == kKeySpace) {
      ResetRound(g);
      g.sndStart->Play();
      g.gameMode = kModePlaying;
    }
  }
}

void DrawTitleScreen(GameState& g) {
  media::Surface& back = *g.backBuffer;
  // The title bar's outline keeps whatever fore colour the last frame left.
  back.SetFillColor(kDarkPurple);
  back.DrawBox(10, 210, 350, 235);
  back.SetForeColor(kWhite);
  back.DrawText(50, 213, "Rapiko Ver1.03");
  back.SetFillColor(kPalePink);
  back.SetForeColor(kDarkPurple);
  back.DrawBox(10, 235, 350, 470);
  back.DrawText(50, 242,
                std::to_string(g.level) + "/" + std::to_string(g.maxLevel) + "  " +
                    std::to_string(g.score) + "  ");
  for (int i = 0; i <= 9; ++i) {
    const int32_t key = g.rankKeys[i];
    const int32_t levelPart = key / 10000000;
    const int32_t rest = key % 10000000;
    const int32_t maxLevelPart = rest / 100000;
    const int32_t scorePart = rest % 100000;
    back.SetForeColor(scorePart == g.score ? kPureRed : kDarkPurple);
    // "st" on every place, as the game has always shown it.
    back.DrawText(50, 260 + 18 * i,
                  std::to_string(i + 1) + "st " + std::to_string(levelPart) + "/" +
                      std::to_string(maxLevelPart) + "  " + std::to_string(scorePart) + "  " +
                      g.rankNames[i]);
  }
  back.SetForeColor(kDarkPurple);
  back.SetFillColor(kPalePink);
  back.DrawText(100, 445, "Hit SPACE Key");
}

void ResetRound(GameState& g) {
  g.level = 3;
  g.maxLevel = 3;
  g.ringHead = 1;
  g.ringTail = 1;
  g.score = 0;
  g.combo = 0;
  g.hitCount = 0;
  for (int i = 0; i <= 7; ++i) {
    g.lockQueue[i] = 0;
    g.popups[i].x = 0.0;
    g.popups[i].y = 0.0;
    g.popups[i].timeLeft = 0;
  }
  g.lockTail = 0;
  g.lockHead = 0;
  g.lockCount = 0;
  g.shotActive = false;
  for (Target& t : g.targets) t = Target{};
  g.entryDone = false;
}

}  // namespace core
