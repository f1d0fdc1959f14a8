// Set-up of the display, sound and keyboard devices, in their fixed order.
#include "game/devices.h"

namespace game {

namespace {

constexpr int32_t kSheetWidth = 346;
constexpr int32_t kSheetHeight = 262;
constexpr uint8_t kSheetKeyIndex = 128;
constexpr int32_t kKeyboardNonExclusiveBackground = 10;

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
  ReopenSound(g);
}

void ReopenSound(state::GameState& g) {
  for (const state::SoundField& sound : state::kSoundFields) (g.*sound.buffer).reset();
  g.dsound.reset();
  g.dsound = g.dx->CreateSoundDevice();
  g.dsound->SetCooperativeLevel(media::SoundLevel::Priority);
  for (const int i : state::kSoundCreationOrder) {
    const state::SoundField& sound = state::kSoundFields[i];
    g.*sound.buffer = g.dsound->CreateSoundBufferFromResource(sound.resource);
  }
}

void InitKeyboard(state::GameState& g, media::System& system) {
  EnsureRoot(g, system);
  g.dinput = g.dx->CreateInput();
  g.keyboard = g.dinput->CreateKeyboardDevice();
  g.keyboard->SetDataFormatKeyboard();
  g.keyboard->SetCooperativeLevel(kKeyboardNonExclusiveBackground);
  g.keyboard->SetBufferSize(state::kKeyboardBufferSize);
  g.keyboard->Acquire();
}

}  // namespace game
