// The media layer's interface: display, sound and keyboard objects the game calls.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace media {

// Any failure of a platform operation other than the fast blit. It ends the
// program with its message; nothing is retried.
class PlatformError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Colours are red + 256 * green + 65536 * blue.
using Rgb = int32_t;
constexpr Rgb MakeRgb(int r, int g, int b) { return r + 256 * g + 65536 * b; }

// The one display mode: a 640 x 480 frame of 8-bit palette indices.
constexpr int32_t kScreenWidth = 640;
constexpr int32_t kScreenHeight = 480;
constexpr int32_t kScreenBits = 8;

// Source rectangle: left, top, right, bottom; right and bottom exclusive.
// All zero means the whole source.
struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  bool operator==(const Rect&) const = default;
};

enum class BlitFlags : int32_t {
  Wait = 16,        // plain copy
  KeySrcWait = 17,  // copy, skipping source pixels of the source's colour key
};

// KeyEvent data of a key that went down (0 when it went up).
constexpr int32_t kKeyDown = 128;

// One buffered keyboard event. data is exactly kKeyDown when the key went down.
struct KeyEvent {
  int32_t keyCode = 0;
  int32_t data = 0;
  int32_t timeStamp = 0;
  int32_t sequence = 0;
};

class Palette;

// An 8-bit drawing surface. Implemented once, in software (surface.h).
class Surface {
 public:
  virtual ~Surface() = default;
  // Copies nothing (and returns false) when the destination would not lie
  // wholly on this surface or the source rectangle is empty.
  virtual bool FastBlit(int32_t x, int32_t y, Surface& source, Rect rect, BlitFlags flags) = 0;
  virtual void DrawBox(int32_t x1, int32_t y1, int32_t x2, int32_t y2) = 0;
  // text is UTF-8 where valid; other bytes are taken as Latin-1.
  virtual void DrawText(int32_t x, int32_t y, const std::string& text) = 0;
  virtual void SetForeColor(Rgb rgb) = 0;
  virtual void SetFillColor(Rgb rgb) = 0;
  virtual void Flip() = 0;
  virtual std::shared_ptr<Surface> GetAttachedSurface() = 0;
  virtual void SetColorKey(uint8_t index) = 0;
  virtual void SetPalette(std::shared_ptr<Palette> palette) = 0;
};

enum class CooperativeLevel : int32_t {
  Normal = 8,
  FullscreenExclusive = 17,
};

// The display object.
class Display {
 public:
  virtual ~Display() = default;
  virtual void SetCooperativeLevel(CooperativeLevel level) = 0;
  virtual void SetDisplayMode(int32_t width, int32_t height, int32_t bitsPerPixel) = 0;
  virtual void RestoreDisplayMode() = 0;
  // The primary surface of a flip chain with backBufferCount back buffers.
  virtual std::shared_ptr<Surface> CreatePrimarySurface(int32_t backBufferCount) = 0;
  virtual std::shared_ptr<Surface> CreateSurfaceFromFile(const std::string& path, int32_t width,
                                                         int32_t height) = 0;
  virtual std::shared_ptr<Surface> CreateSurfaceFromResource(const std::string& name, int32_t width,
                                                             int32_t height) = 0;
  virtual std::shared_ptr<Palette> LoadPaletteFromFile(const std::string& path) = 0;
};

class SoundBuffer {
 public:
  virtual ~SoundBuffer() = default;
  // Once: a buffer still playing goes on, a finished one starts again.
  virtual void Play() = 0;
  // Position 0: a playing buffer restarts at once.
  virtual void SetCurrentPosition(int32_t position) = 0;
};

enum class SoundLevel : int32_t { Priority = 2 };

class SoundDevice {
 public:
  virtual ~SoundDevice() = default;
  virtual void SetCooperativeLevel(SoundLevel level) = 0;
  virtual std::shared_ptr<SoundBuffer> CreateSoundBufferFromResource(const std::string& name) = 0;
};

class KeyboardDevice {
 public:
  virtual ~KeyboardDevice() = default;
  virtual void SetDataFormatKeyboard() = 0;
  virtual void SetCooperativeLevel(int32_t flags) = 0;
  virtual void SetBufferSize(int32_t events) = 0;
  virtual void Acquire() = 0;
  virtual void Unacquire() = 0;
  // The events since the last read, oldest first, from slot 0, at most
  // events.size(); later slots stay as passed. Returns the count.
  virtual int32_t GetDeviceData(std::span<KeyEvent> events) = 0;
  // What the key of this code types for the game without Shift, as its cap
  // shows it (a letter as its capital): the player's layout while keys are
  // read by the character they type, the US one while they are read by
  // their place. 0 for a key that types no character.
  virtual char32_t KeyCharacter(int32_t keyCode) = 0;
};

class Input {
 public:
  virtual ~Input() = default;
  virtual std::shared_ptr<KeyboardDevice> CreateKeyboardDevice() = 0;
};

// The root object from which the three devices are made.
class Root {
 public:
  virtual ~Root() = default;
  virtual std::shared_ptr<Display> CreateDisplay() = 0;
  virtual std::shared_ptr<SoundDevice> CreateSoundDevice() = 0;
  virtual std::shared_ptr<Input> CreateInput() = 0;
};

// What the window system tells the game during the message step.
class WindowEvents {
 public:
  virtual ~WindowEvents() = default;
  virtual void OnMouseDown() = 0;
  virtual void OnCloseRequest() = 0;
  // The window lost the keyboard focus to another, or got it back.
  virtual void OnFocusLost() = 0;
  virtual void OnFocusGained() = 0;
};

// What the player may change of the machine while the game runs (the
// options screen): sound on or off (the sound device made after this
// follows it), keys read by the character they type or by their place, full
// screen or a window of a scale (0: the largest that fits); and what the
// machine around the game follows of it.
class Controls {
 public:
  virtual ~Controls() = default;
  virtual void SetSound(bool on) = 0;
  // Sound is on but no device plays it (none found, or lost).
  virtual bool SoundMissing() { return false; }
  virtual void SetKeysByPosition(bool byPosition) = 0;
  virtual void SetDisplay(bool fullscreen, int32_t scale) = 0;
  // The largest window scale whose window fits the desktop.
  virtual int32_t LargestWindowScale() = 0;
  // Keys pressed before now and in the next ms milliseconds never reach the
  // game: a round's last keys must not spill into the name typed after it.
  virtual void DropKeysFor(uint32_t ms) = 0;
  // Told each pass, for what the machine shows around the game (the web page's texts in the
  // game's language, and a question before a round in play is left): the language's code,
  // and whether a round or its name entry is on.
  virtual void FollowGame(std::string_view languageCode, bool roundOn) = 0;
};

// The machine around the game: clock, window messages, the program folder.
// One implementation is chosen at start-up: the real window or a script.
class System {
 public:
  virtual ~System() = default;
  virtual std::shared_ptr<Root> CreateRoot() = 0;
  // Milliseconds since some start, wrapping at 2^32.
  virtual uint32_t GetTickCount() = 0;
  // Called at the top of every pass of the main loop, before the quit test.
  // Returns false when there will be no more passes (a script has ended).
  virtual bool BeginPass() = 0;
  virtual void DispatchMessages(WindowEvents& events) = 0;
  // Lets ms milliseconds of GetTickCount's clock pass, or fewer when a
  // window message comes first (a replay waits for its recording's pace,
  // and reads the messages after each wait).
  virtual void Wait(uint32_t ms);
  // What the player may change of this machine; nullptr where nothing can
  // be (no window).
  virtual Controls* GetControls() { return nullptr; }
};

}  // namespace media
