// GameState: the one record holding every variable of the game.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "core/random.h"
#include "media/platform.h"

namespace core {

struct Target {
  double x = 0.0;
  double y = 0.0;
  double vx = 0.0;
  int16_t keyCode = 0;
};

struct Popup {
  double x = 0.0;
  double y = 0.0;
  int16_t timeLeft = 0;
  int16_t points = 0;
};

struct TrailPoint {
  double x = 0.0;
  double y = 0.0;
};

struct KeyGlyph {
  int16_t x = 0;
  int16_t y = 0;
};

struct Pacing {
  double shotStepX = 0.0;
  double shotStepY = 0.0;
  int32_t spawnClock = 0;
  double fpsValue = 0.0;
  double fpsFrames = 0.0;
  int32_t fpsClock = 0;
  int16_t letterPos = 0;
  int16_t wordIndex = 0;
  int16_t wordX = 0;
  int16_t wordVx = 0;
};

// Key codes with a role of their own (PC set-1 scan codes).
constexpr int kKeyEsc = 1;
constexpr int kKeyBackspace = 14;
constexpr int kKeyEnter = 28;
constexpr int kKeySpace = 57;
constexpr int32_t kKeyDown = 128;  // KeyEvent data of a key going down

enum GameMode : int16_t { kModeTitle = 0, kModePlaying = 1, kModeNameEntry = 2 };

struct GameState {
  std::array<std::string, 256> keyChars{};

  std::shared_ptr<media::Root> dx;
  std::shared_ptr<media::Display> ddraw;
  std::shared_ptr<media::Surface> primarySurface;
  std::shared_ptr<media::Surface> backBuffer;
  std::shared_ptr<media::Surface> backgroundSurface;
  std::shared_ptr<media::Surface> spriteSurface;
  std::shared_ptr<media::Palette> screenPalette;
  std::shared_ptr<media::SoundDevice> dsound;
  std::shared_ptr<media::SoundBuffer> sndKyan;
  std::shared_ptr<media::SoundBuffer> sndShot;
  std::shared_ptr<media::SoundBuffer> sndHit;
  std::shared_ptr<media::SoundBuffer> sndFueen;
  std::shared_ptr<media::SoundBuffer> sndStart;
  std::shared_ptr<media::SoundBuffer> sndEnd;
  std::shared_ptr<media::SoundBuffer> sndType;
  std::shared_ptr<media::Input> dinput;
  std::shared_ptr<media::KeyboardDevice> keyboard;

  bool quitRequested = false;
  int16_t gameMode = kModeTitle;
  int32_t score = 0;
  int16_t combo = 0;
  int16_t hitCount = 0;
  int16_t level = 0;
  int16_t maxLevel = 0;
  int32_t roundTime = 0;
  std::array<int32_t, 10> rankKeys{};
  std::array<std::string, 10> rankNames{};
  std::string entryName;
  std::array<Target, 101> targets{};
  int16_t ringHead = 0;
  int16_t ringTail = 0;
  std::array<int16_t, 9> lockQueue{};
  int16_t lockTail = 0;
  int16_t lockHead = 0;
  int16_t lockCount = 0;
  bool shotActive = false;
  std::array<TrailPoint, 11> shotTrail{};
  std::array<std::string, 101> words{};
  // One entry past the word table: wordStart[101] is kept at letterCount so
  // that the end-of-word test of word 100 reads inside the table.
  std::array<int16_t, 102> wordStart{};
  int16_t wordCount = 0;
  int16_t letterCount = 0;
  std::array<int16_t, 1001> letterKeys{};
  std::array<KeyGlyph, 73> keyGlyphs{};
  std::array<Popup, 9> popups{};
  bool entryDone = false;
  Pacing pacing;

  // The random numbers of spawning and pop-ups, seeded once at start-up.
  Random rng;
};

}  // namespace core
