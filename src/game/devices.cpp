// Set-up of the display, sound and keyboard devices, in their fixed order.
#include "game/devices.h"

namespace game {

namespace {

constexpr int32_t kSheetWidth = 346;
constexpr int32_t kSheetHeight = 262;
constexpr uint8_t kSheetKeyIndex = 128;
constexpr int32_t kKeyboardNonExclusiveBackground = 10;
constexpr int32_t kKeyboardBufferSize = 64;

void EnsureRoot(state::GameState& g, media::System& system) {
  if (!g.dx) g.dx = system.CreateRoot();
}

}  // namespace

void InitDisplay(state::GameState& g, media::System& system, const std::string& myPath) {
  EnsureRoot(g, system);
  g.ddraw = g.dx->CreateDisplay();
  g.ddraw->SetCooperativeLevel(media::CooperativeLevel::FullscreenExclusive);
  g.ddraw->SetDisplayMode(media::kScreenWidth, media::kScreenHeight, media::kScreenBits);
  g.primarySurface = g.ddraw->CreatePrimarySurface(1);
  g.backBuffer = g.primarySurface->GetAttachedSurface();
  g.screenPalette = g.ddraw->LoadPaletteFromFile(myPath + "back.bmp");
  g.primarySurface->SetPalette(g.screenPalette);
  g.backgroundSurface = g.ddraw->CreateSurfaceFromFile(myPath + "back.bmp", media::kScreenWidth,
                                                       media::kScreenHeight);
  g.spriteSurface = g.ddraw->CreateSurfaceFromResource("ABC", kSheetWidth, kSheetHeight);
  g.spriteSurface->SetColorKey(kSheetKeyIndex);
}

void InitSound(state::GameState& g, media::System& system) {
  EnsureRoot(g, system);
  g.dsound = g.dx->CreateSoundDevice();
  g.dsound->SetCooperativeLevel(media::SoundLevel::Priority);
  g.sndKyan = g.dsound->CreateSoundBufferFromResource("WAVKYAN");
  g.sndShot = g.dsound->CreateSoundBufferFromResource("WAVSHOT");
  g.sndHit = g.dsound->CreateSoundBufferFromResource("WAVHIT");
  g.sndFueen = g.dsound->CreateSoundBufferFromResource("WAVFUEEN");
  g.sndType = g.dsound->CreateSoundBufferFromResource("WAVTYPE");
  g.sndEnd = g.dsound->CreateSoundBufferFromResource("WAVEND");
  g.sndStart = g.dsound->CreateSoundBufferFromResource("WAVSTART");
}

void InitKeyboard(state::GameState& g, media::System& system) {
  EnsureRoot(g, system);
  g.dinput = g.dx->CreateInput();
  g.keyboard = g.dinput->CreateKeyboardDevice();
  g.keyboard->SetDataFormatKeyboard();
  g.keyboard->SetCooperativeLevel(kKeyboardNonExclusiveBackground);
  g.keyboard->SetBufferSize(kKeyboardBufferSize);
  g.keyboard->Acquire();
}

}  // namespace game
