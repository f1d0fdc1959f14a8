// The pause of a round whose window has lost the keyboard focus.
#include "game/pause.h"

#include <array>
#include <string>

#include "media/messages.h"

namespace game {
namespace {

// In the middle of the field: 120 x 36 pixels, "PAUSE" centred in it.
constexpr int32_t kPanelLeft = 260;
constexpr int32_t kPanelTop = 222;
constexpr int32_t kPanelRight = 380;
constexpr int32_t kPanelBottom = 258;
constexpr int32_t kTextX = 300;
constexpr int32_t kTextY = 232;
constexpr int32_t kPauseWidth = 40;  // "PAUSE" at kTextX: another word is centred alike
constexpr int32_t kMiddle = (kPanelLeft + kPanelRight) / 2;

}  // namespace

bool RoundPaused(const state::GameState& g) {
  return g.gameMode == state::kModePlaying && !g.hasFocus;
}

void PauseFrame(state::GameState& g) {
  std::array<media::KeyEvent, state::kKeyBatchSize> dropped{};
  g.keyboard->GetDeviceData(dropped);
  // The back buffer still holds the round's last frame. The panel takes the
  // colours in force, those of the status box, so that the round draws on
  // in the same colours afterwards.
  media::Surface& back = *g.backBuffer;
  back.DrawBox(kPanelLeft, kPanelTop, kPanelRight, kPanelBottom);
  const std::string pause(state::Tr(g, "PAUSE"));
  back.DrawText(kTextX + (kPauseWidth - media::TextWidth(pause)) / 2, kTextY, pause);
  // How to go on, in a box of its own under the panel.
  const std::string resume(state::Tr(g, "Click the window to resume"));
  const int32_t half = media::TextWidth(resume) / 2 + 8;
  back.DrawBox(kMiddle - half, kPanelBottom, kMiddle + half, kPanelBottom + 22);
  back.DrawText(kMiddle - half + 8, kPanelBottom + 3, resume);
  g.primarySurface->Flip();
}

}  // namespace game
