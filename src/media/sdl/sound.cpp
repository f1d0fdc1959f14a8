// Sound through SDL_mixer: one channel and one chunk per sound buffer; silence without a device.
#include <SDL.h>
#include <SDL_mixer.h>

#include <string>

#include "media/sdl/context.h"
#include "media/sdl/quiet.h"
#include "media/wav.h"

namespace media {
namespace {

constexpr int kFrequency = 44100;
constexpr int kChannels = 2;
// 23 ms of sound per buffer: late by no more than a frame and a half, and
// half the wake-ups of the mixing thread that a 512-frame buffer costs.
constexpr int kChunkSize = 1024;
// Seven buffers, each on its own channel, with room to spare.
constexpr int kMixChannels = 16;

// After this long without a sound the device is closed, and opened again
// by the next sound: an open device wakes a thread to mix silence 43 times a
// second, a fifth of what an idle title screen costs. Opening it again
// stalls a frame, so a pause within a round must not close it.
constexpr uint64_t kIdleCloseMs = 10000;

// The audio device; closed when the device and its last buffer are gone, and
// while no sound has played for a while.
class SdlAudio {
 public:
  // The device, or nothing with the reason why there is none.
  static std::shared_ptr<SdlAudio> Open(SdlContextPtr context, std::string& reason) {
    QuietStderr quiet;  // the sound libraries' own account of a missing device
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
      reason = SDL_GetError();
      return nullptr;
    }
    if (Mix_OpenAudio(kFrequency, AUDIO_S16SYS, kChannels, kChunkSize) != 0) {
      reason = Mix_GetError();
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      return nullptr;
    }
    std::shared_ptr<SdlAudio> audio(new SdlAudio(std::move(context)));
    std::weak_ptr<SdlAudio> weak = audio;
    audio->context_->OnEachPass([weak] {
      if (auto a = weak.lock()) a->CloseWhenSilent();
    });
    return audio;
  }
  ~SdlAudio() {
    if (open_) Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  SdlAudio(const SdlAudio&) = delete;
  SdlAudio& operator=(const SdlAudio&) = delete;

  bool IsOpen() const { return open_; }

  // Opens the device again after a silence, in the very format the sounds
  // were converted to; false when it cannot be (then silence, said once).
  bool Wake() {
    silentSince_ = 0;
    if (open_ || lost_) return open_;
    QuietStderr quiet;
    if (Mix_OpenAudioDevice(frequency_, format_, channels_, kChunkSize, nullptr, 0) != 0) {
      lost_ = true;
      context_->NoteSoundMissing(true);
      if (context_->Options().notice) {
        context_->Options().notice(std::string("sound device lost (") + Mix_GetError() +
                                   "); playing without sound");
      }
      return false;
    }
    Mix_AllocateChannels(allocated_);
    open_ = true;
    return true;
  }

  int NextChannel() {
    if (next_ >= allocated_) allocated_ = Mix_AllocateChannels(next_ + kMixChannels);
    return next_++;
  }

 private:
  explicit SdlAudio(SdlContextPtr context)
      : context_(std::move(context)), allocated_(Mix_AllocateChannels(kMixChannels)) {
    Mix_QuerySpec(&frequency_, &format_, &channels_);
  }

  void CloseWhenSilent() {
    if (!open_) return;
    const uint64_t now = SDL_GetTicks64();
    if (Mix_Playing(-1) != 0) {
      silentSince_ = 0;
    } else if (silentSince_ == 0) {
      silentSince_ = now;
    } else if (now - silentSince_ >= kIdleCloseMs) {
      Mix_CloseAudio();
      open_ = false;
    }
  }

  SdlContextPtr context_;
  int allocated_ = 0;
  int next_ = 0;
  bool open_ = true;
  bool lost_ = false;
  uint64_t silentSince_ = 0;  // 0: a sound plays, or one was just asked for
  int frequency_ = kFrequency;
  Uint16 format_ = AUDIO_S16SYS;
  int channels_ = kChannels;
};

class SdlSoundBuffer : public SoundBuffer {
 public:
  SdlSoundBuffer(std::shared_ptr<SdlAudio> audio, std::string name, Mix_Chunk* chunk)
      : audio_(std::move(audio)),
        name_(std::move(name)),
        chunk_(chunk),
        channel_(audio_->NextChannel()) {}
  ~SdlSoundBuffer() override {
    if (audio_->IsOpen()) Mix_HaltChannel(channel_);  // SDL_mixer has no channels while closed
    Mix_FreeChunk(chunk_);
  }
  SdlSoundBuffer(const SdlSoundBuffer&) = delete;
  SdlSoundBuffer& operator=(const SdlSoundBuffer&) = delete;

  // A buffer still playing goes on, so the sound is heard once.
  void Play() override {
    if (!audio_->Wake() || Mix_Playing(channel_)) return;
    Start();
  }

  // Back to the start: a playing buffer restarts at once, a stopped one
  // stays stopped until played.
  void SetCurrentPosition(int32_t position) override {
    if (position != 0) {
      throw PlatformError(name_ + ": play position " + std::to_string(position) +
                          " is not supported (only 0)");
    }
    if (audio_->IsOpen() && Mix_Playing(channel_)) Start();
  }

 private:
  void Start() {
    if (Mix_PlayChannel(channel_, chunk_, 0) < 0) {
      throw PlatformError(name_ + ": cannot play: " + Mix_GetError());
    }
  }

  std::shared_ptr<SdlAudio> audio_;
  std::string name_;
  Mix_Chunk* chunk_;
  int channel_;
};

// A buffer of a game without sound: plays nothing, at once.
class SilentSoundBuffer : public SoundBuffer {
 public:
  void Play() override {}
  void SetCurrentPosition(int32_t) override {}
};

class SdlSoundDevice : public SoundDevice {
 public:
  explicit SdlSoundDevice(SdlContextPtr context) : context_(std::move(context)) {
    if (context_->Options().mute) return;
    std::string reason;
    audio_ = SdlAudio::Open(context_, reason);
    context_->NoteSoundMissing(!audio_);
    if (!audio_ && context_->Options().notice) {
      context_->Options().notice("no sound device (" + reason + "); playing without sound");
    }
  }

  void SetCooperativeLevel(SoundLevel) override {}

  std::shared_ptr<SoundBuffer> CreateSoundBufferFromResource(const std::string& name) override {
    std::span<const uint8_t> bytes = context_->Resource(name);
    if (bytes.empty()) throw PlatformError(name + ": no such sound in the program");
    try {
      ReadWaveInfo(bytes);  // a clear message for a damaged file
    } catch (const PlatformError& e) {
      throw PlatformError(name + ": " + e.what());
    }
    if (!audio_ || !audio_->Wake()) return std::make_shared<SilentSoundBuffer>();
    // SDL_mixer converts each sound from its own format to the device's.
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    Mix_Chunk* chunk = rw ? Mix_LoadWAV_RW(rw, 1) : nullptr;
    if (!chunk) throw PlatformError(name + ": damaged sound (" + Mix_GetError() + ")");
    return std::make_shared<SdlSoundBuffer>(audio_, name, chunk);
  }

 private:
  SdlContextPtr context_;
  std::shared_ptr<SdlAudio> audio_;
};

}  // namespace

std::shared_ptr<SoundDevice> MakeSdlSoundDevice(SdlContextPtr context) {
  return std::make_shared<SdlSoundDevice>(std::move(context));
}

}  // namespace media
