// Set-up of the display, sound and keyboard devices, in their fixed order.
#include "core/devices.h"

namespace core {

namespace {

constexpr int32_t kScreenWidth = 640;
constexpr int32_t kScreenHeight = 480;
constexpr int32_t kSheetWidth = 346;
constexpr int32_t kSheetHeight = 262;
constexpr uint8_t kSheetKeyIndex = 128;
constexpr int32_t kKeyboardNonExclusiveBackground = 10;
constexpr int32_t kKeyboardBufferSize = 64;

void EnsureRoot(GameState& g, media::System& system) {
  if (!g.dx) g.dx = system.CreateRoot();
}

}  // namespace

void InitDisplay(GameState& g, media::System& system, const std::string& myPath) {
  EnsureRoot(g, system);
  g.ddraw = g.dx->CreateDisplay();
  g.ddraw->SetCooperativeLevel(media::CooperativeLevel::FullscreenExclusive);
  g.ddraw->SetDisplayMode(kScreenWidth, kScreenHeight, 8);
  g.primarySurface = g.ddraw->CreatePrimarySurface(1);
  g.backBuffer = g.primarySurface->GetAttachedSurface();
  g.screenPalette = g.ddraw->LoadPaletteFromFile(myPath + "back.bmp");
  g.primarySurface->SetPalette(g.screenPalette);
  g.backgroundSurface =
      g.ddraw->CreateSurfaceFromFile(myPath + "back.bmp", kScreenWidth, kScreenHeight);
  g.spriteSurface = g.ddraw->CreateSurfaceFromResource("ABC", kSheetWidth, kSheetHeight);
  g.spriteSurface->SetColorKey(kSheetKeyIndex);
}

void InitSound(GameState& g, media::System& system) {
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

void InitKeyboard(GameState& g, media::System& system) {
  EnsureRoot(g, system);
  g.dinput = g.dx->CreateInput();
  g.keyboard = g.dinput->CreateKeyboardDevice();
  g.keyboard->SetDataFormatKeyboard();
  g.keyboard->SetCooperativeLevel(kKeyboardNonExclusiveBackground);
  g.keyboard->SetBufferSize(kKeyboardBufferSize);
  g.keyboard->Acquire();
}

}  // namespace core
