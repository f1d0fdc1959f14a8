// GameState: the one record holding every variable of the game.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/messages.h"
#include "media/platform.h"
#include "state/choices.h"
#include "state/key_codes.h"
#include "state/progress.h"
#include "state/random.h"

namespace state {

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

// Calls visit(name, field) for each field of a Pacing record, by its name
// and in the record's order: the state's JSON line and a kept round's resume
// note both name the fields from here, so a field added to the record must
// be added here too (a test counts them).
template <class P, class Visit>
void ForEachPacingField(P& p, Visit&& visit) {
  visit("shotStepX", p.shotStepX);
  visit("shotStepY", p.shotStepY);
  visit("spawnClock", p.spawnClock);
  visit("fpsValue", p.fpsValue);
  visit("fpsFrames", p.fpsFrames);
  visit("fpsClock", p.fpsClock);
  visit("letterPos", p.letterPos);
  visit("wordIndex", p.wordIndex);
  visit("wordX", p.wordX);
  visit("wordVx", p.wordVx);
}

// The keyboard device holds this many unread events. Play, name entry and
// the pause read up to kKeyBatchSize at a time: more than the device can
// hold, so one read empties it.
constexpr int32_t kKeyboardBufferSize = 64;
constexpr std::size_t kKeyBatchSize = 65;

enum GameMode : int16_t { kModeTitle = 0, kModePlaying = 1, kModeNameEntry = 2 };

// A round lasts this long; roundTime counts up to it.
constexpr int32_t kRoundLengthMs = 120000;

// The ranking's places, best first.
constexpr int kRankPlaces = 10;

// The target ring runs over slots 1 to 99 and wraps from 99 to 1; slot 0
// stays empty, so index 0 means "no letter".
constexpr int16_t kRingFirst = 1;
constexpr int16_t kRingLast = 99;
inline bool IsRingSlot(int32_t i) { return i >= kRingFirst && i <= kRingLast; }
inline int16_t NextRingSlot(int16_t i) {
  return i >= kRingLast ? kRingFirst : static_cast<int16_t>(i + 1);
}

// At most this many locks wait; the lock queue is a ring over slots 0 to 7,
// and each slot has the pop-up of the hit it leads to.
constexpr int kLockSlots = 8;

// The word table: words 1 to 100, letters 0 to 1000.
constexpr int kMaxWords = 100;
constexpr int kMaxLetters = 1001;

// A result entered into the ranking: its key and the name it was entered under.
struct RankEntry {
  int32_t key = 0;
  std::string name;
};

// A round on an online board, as the server ranks it.
struct BoardEntry {
  int64_t place = 0;
  std::string name;
  int32_t score = 0;
  int32_t level = 0;
  int64_t round = 0;  // its number on the server: watching it asks for it
};

// The online board the title shows in place of the ranking (R switches between them).
struct OnlineBoardView {
  bool served = false;  // an online ranking answers this game's requests
  bool shown = false;
  int32_t asked = 0;  // how many times the title has asked for it: each asks the server anew
  std::vector<BoardEntry> entries;
  std::string note;  // while none are shown: loading, an empty board, or why none came
};

// The online board's rounds that the options screen's watch list offers after the kept ones,
// and the one chosen to watch while it is fetched.
struct OnlineWatchView {
  bool served = false;  // an online ranking answers this game's requests, and it can show a round
  int32_t asked = 0;    // how many times the list has been asked for: each asks the server anew
  std::vector<BoardEntry> entries;
  std::string note;      // loading, an empty board, why none came or why a chosen one did not
  int32_t chosen = 0;    // how many rounds have been chosen to watch: each is fetched
  int64_t round = 0;     // the last one chosen
  bool loading = false;  // it is being fetched; Esc gives it up
};

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
  // What the options screen may change of the machine; nullptr without a window.
  media::Controls* controls = nullptr;

  bool quitRequested = false;
  int16_t gameMode = kModeTitle;
  int32_t score = 0;
  int16_t combo = 0;
  int16_t hitCount = 0;
  int16_t level = 0;
  int16_t maxLevel = 0;
  int32_t roundTime = 0;
  std::array<int32_t, kRankPlaces> rankKeys{};
  std::array<std::string, kRankPlaces> rankNames{};
  std::string entryName;
  std::array<Target, kRingLast + 2> targets{};  // slots 0 and 100 never hold a letter
  int16_t ringHead = 0;
  int16_t ringTail = 0;
  std::array<int16_t, kLockSlots + 1> lockQueue{};  // slot 8 unused
  int16_t lockTail = 0;
  int16_t lockHead = 0;
  int16_t lockCount = 0;
  bool shotActive = false;
  std::array<TrailPoint, 11> shotTrail{};
  std::array<std::string, kMaxWords + 1> words{};
  // One entry past the word table: wordStart[101] is kept at letterCount so
  // that the end-of-word test of word 100 reads inside the table.
  std::array<int16_t, kMaxWords + 2> wordStart{};
  int16_t wordCount = 0;
  int16_t letterCount = 0;
  std::array<int16_t, kMaxLetters> letterKeys{};
  std::array<KeyGlyph, 73> keyGlyphs{};
  std::array<Popup, kLockSlots + 1> popups{};  // by lock slot; slot 8 unused
  bool entryDone = false;
  Pacing pacing;

  // What this game changed in the ranking that the ranking file does not
  // hold yet: the results entered, and whether a name was typed. A save
  // applies them to the file as it is then, so games sharing a folder keep
  // each other's results.
  std::vector<RankEntry> unsavedResults;
  bool unsavedName = false;

  // The game's window has the keyboard focus; a round stands still without it.
  bool hasFocus = true;

  // What the online ranking said of the last round, shown on the title.
  std::string onlineNote;
  OnlineBoardView onlineBoard;
  OnlineWatchView onlineWatch;

  // The random numbers of spawning and pop-ups, seeded once at start-up.
  Random rng;

  // Counting and statistics; no rule of play reads it, except practice's
  // choice of words.
  Progress progress;

  Choices choices;
  OptionsView options;  // the options screen, while it is open
};

// A text of the game in the player's language (English: the text itself).
inline std::string_view Tr(const GameState& g, std::string_view english) {
  return media::Translate(g.choices.language, english);
}
// The same for a text that counts n things (one: its English for 1).
inline std::string_view TrN(const GameState& g, std::string_view one, std::string_view other,
                            int64_t n) {
  return media::TranslateCount(g.choices.language, one, other, n);
}

// The slots of the letters in play, oldest first: from ringHead up to
// ringTail (not included), wrapping from slot 99 to slot 1.
struct LiveSlots {
  std::array<int16_t, kRingLast> slots{};
  int count = 0;
};
inline LiveSlots LiveRange(const GameState& g) {
  LiveSlots live;
  const auto add = [&live](int32_t from, int32_t to) {
    for (int32_t i = std::max(from, int32_t{kRingFirst}); i <= std::min(to, int32_t{kRingLast});
         ++i)
      live.slots[static_cast<std::size_t>(live.count++)] = static_cast<int16_t>(i);
  };
  if (g.ringTail > g.ringHead) {
    add(g.ringHead, g.ringTail - 1);
  } else if (g.ringTail < g.ringHead) {
    add(g.ringHead, kRingLast);
    add(kRingFirst, g.ringTail - 1);
  }
  return live;
}

// No letter locked: the lock queue empty.
inline void ClearLocks(GameState& g) {
  for (int i = 0; i < kLockSlots; ++i) g.lockQueue[i] = 0;
  g.lockTail = 0;
  g.lockHead = 0;
  g.lockCount = 0;
}

// The seven sounds: the field of the game state that holds each, and the
// resource it is made from, in the order shutdown releases them.
struct SoundField {
  std::shared_ptr<media::SoundBuffer> GameState::*buffer;
  const char* field;
  const char* resource;
};
inline constexpr SoundField kSoundFields[] = {
    {&GameState::sndKyan, "sndKyan", "WAVKYAN"},    {&GameState::sndShot, "sndShot", "WAVSHOT"},
    {&GameState::sndHit, "sndHit", "WAVHIT"},       {&GameState::sndFueen, "sndFueen", "WAVFUEEN"},
    {&GameState::sndStart, "sndStart", "WAVSTART"}, {&GameState::sndEnd, "sndEnd", "WAVEND"},
    {&GameState::sndType, "sndType", "WAVTYPE"}};
// The order start-up makes them in, as indices of kSoundFields.
inline constexpr int kSoundCreationOrder[] = {0, 1, 2, 3, 6, 5, 4};

}  // namespace state
