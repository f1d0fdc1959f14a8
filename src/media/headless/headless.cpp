// The headless platform: device objects that log every call, a virtual
// clock, a scripted key queue and a model of the sound buffers' play state.
#include "media/headless/headless.h"

#include <deque>

#include "media/display_common.h"
#include "media/resources.h"
#include "media/us_keyboard.h"
#include "media/wav.h"

namespace media {

namespace {

constexpr size_t kKeyQueueLimit = 64;

}  // namespace

struct HeadlessPlatform::Impl : SurfaceObserver, Presenter {
  uint32_t tick = 0;
  std::deque<KeyEvent> keys;
  int32_t keySequence = 0;
  std::vector<SurfaceOp> frameOps;
  std::vector<std::string> soundLog;
  std::vector<std::string> callLog;
  std::vector<uint8_t> screen = std::vector<uint8_t>(kScreenWidth * kScreenHeight, 0);
  Palette screenPalette;
  std::function<std::span<const uint8_t>(std::string_view)> resources = FindResource;

  void Log(std::string call) { callLog.push_back(std::move(call)); }

  void OnSurfaceOp(const SurfaceOp& op) override { frameOps.push_back(op); }

  void Present(const std::vector<uint8_t>& pixels, int32_t width, int32_t height,
               const Palette& palette, const std::vector<uint8_t>* /*changedRows*/) override {
    if (width == kScreenWidth && height == kScreenHeight) screen = pixels;
    screenPalette = palette;
  }
};

namespace {

using Impl = HeadlessPlatform::Impl;
using ImplPtr = std::shared_ptr<Impl>;

// A software surface that logs the set-up calls made on it. Its set-up by
// the display itself is not logged: only what the game asks for.
class HeadlessSurface : public SoftSurface {
 public:
  HeadlessSurface(int32_t width, int32_t height, const std::string& label, ImplPtr impl)
      : SoftSurface(width, height, label), impl_(std::move(impl)) {}
  ~HeadlessSurface() override { impl_->Log("Release.Surface(" + Label() + ")"); }

  void StartLogging() { logging_ = true; }

  std::shared_ptr<Surface> GetAttachedSurface() override {
    if (logging_) impl_->Log("Surface.GetAttachedSurface");
    return SoftSurface::GetAttachedSurface();
  }
  void SetColorKey(uint8_t index) override {
    if (logging_) impl_->Log("Surface.SetColorKey(" + std::to_string(index) + ")");
    SoftSurface::SetColorKey(index);
  }
  void SetPalette(std::shared_ptr<Palette> palette) override {
    if (logging_) impl_->Log("Surface.SetPalette");
    SoftSurface::SetPalette(std::move(palette));
  }

 private:
  ImplPtr impl_;
  bool logging_ = false;
};

std::shared_ptr<SoftSurface> MakeLogged(const std::shared_ptr<SoftSurface>& surface) {
  static_cast<HeadlessSurface&>(*surface).StartLogging();
  return surface;
}

class HeadlessDisplay : public Display {
 public:
  explicit HeadlessDisplay(ImplPtr impl)
      : impl_(std::move(impl)),
        make_([impl = impl_](int32_t w, int32_t h, const std::string& label) {
          return std::make_shared<HeadlessSurface>(w, h, label, impl);
        }) {}
  ~HeadlessDisplay() override { impl_->Log("Release.Display"); }

  void SetCooperativeLevel(CooperativeLevel level) override {
    impl_->Log("Display.SetCooperativeLevel(" + std::to_string(static_cast<int32_t>(level)) + ")");
  }
  void SetDisplayMode(int32_t width, int32_t height, int32_t bitsPerPixel) override {
    impl_->Log("Display.SetDisplayMode(" + std::to_string(width) + "," + std::to_string(height) +
               "," + std::to_string(bitsPerPixel) + ")");
    CheckDisplayMode(width, height, bitsPerPixel);
  }
  void RestoreDisplayMode() override { impl_->Log("Display.RestoreDisplayMode"); }

  std::shared_ptr<Surface> CreatePrimarySurface(int32_t backBufferCount) override {
    impl_->Log("Display.CreatePrimarySurface(" + std::to_string(backBufferCount) + ")");
    FlipChain chain = MakeFlipChain(backBufferCount, impl_.get(), make_);
    chain.primary->SetObserver(impl_.get());
    chain.back->SetObserver(impl_.get());
    MakeLogged(chain.back);
    return MakeLogged(chain.primary);
  }

  std::shared_ptr<Surface> CreateSurfaceFromFile(const std::string& path, int32_t width,
                                                 int32_t height) override {
    impl_->Log("Display.CreateSurfaceFromFile(" + FileNameOf(path) + "," + std::to_string(width) +
               "," + std::to_string(height) + ")");
    return MakeLogged(LoadBackgroundFromFile(path, width, height, make_));
  }

  std::shared_ptr<Surface> CreateSurfaceFromResource(const std::string& name, int32_t width,
                                                     int32_t height) override {
    impl_->Log("Display.CreateSurfaceFromResource(" + name + "," + std::to_string(width) + "," +
               std::to_string(height) + ")");
    return MakeLogged(LoadSheetFromResource(name, impl_->resources(name), width, height, make_));
  }

  std::shared_ptr<Palette> LoadPaletteFromFile(const std::string& path) override {
    impl_->Log("Display.LoadPaletteFromFile(" + FileNameOf(path) + ")");
    auto loaded = LoadPaletteFromBmpFile(path);
    return std::shared_ptr<Palette>(new Palette(*loaded), [impl = impl_](Palette* p) {
      impl->Log("Release.Palette");
      delete p;
    });
  }

 private:
  ImplPtr impl_;
  SurfaceMaker make_;
};

class HeadlessSoundBuffer : public SoundBuffer {
 public:
  HeadlessSoundBuffer(ImplPtr impl, std::string resource)
      : impl_(std::move(impl)), resource_(std::move(resource)) {}
  ~HeadlessSoundBuffer() override { impl_->Log("Release.SoundBuffer(" + resource_ + ")"); }

  void Play() override { impl_->soundLog.push_back(resource_ + ".play"); }

  void SetCurrentPosition(int32_t position) override {
    impl_->soundLog.push_back(resource_ + ".rewind");
    if (position != 0) {
      throw PlatformError(resource_ + ": play position " + std::to_string(position) +
                          " is not supported (only 0)");
    }
  }

 private:
  ImplPtr impl_;
  std::string resource_;
};

class HeadlessSoundDevice : public SoundDevice {
 public:
  explicit HeadlessSoundDevice(ImplPtr impl) : impl_(std::move(impl)) {}
  ~HeadlessSoundDevice() override { impl_->Log("Release.SoundDevice"); }

  void SetCooperativeLevel(SoundLevel level) override {
    impl_->Log("SoundDevice.SetCooperativeLevel(" + std::to_string(static_cast<int32_t>(level)) +
               ")");
  }

  std::shared_ptr<SoundBuffer> CreateSoundBufferFromResource(const std::string& name) override {
    impl_->Log("SoundDevice.CreateSoundBuffer(" + name + ")");
    std::span<const uint8_t> bytes = impl_->resources(name);
    if (bytes.empty()) throw PlatformError(name + ": no such sound in the program");
    try {
      ReadWaveInfo(bytes);  // a damaged sound fails here, as on a real device
    } catch (const PlatformError& e) {
      throw PlatformError(name + ": " + e.what());
    }
    return std::make_shared<HeadlessSoundBuffer>(impl_, name);
  }

 private:
  ImplPtr impl_;
};

class HeadlessKeyboard : public KeyboardDevice {
 public:
  explicit HeadlessKeyboard(ImplPtr impl) : impl_(std::move(impl)) {}
  ~HeadlessKeyboard() override { impl_->Log("Release.Keyboard"); }

  void SetDataFormatKeyboard() override { impl_->Log("Keyboard.SetDataFormat"); }
  void SetCooperativeLevel(int32_t flags) override {
    impl_->Log("Keyboard.SetCooperativeLevel(" + std::to_string(flags) + ")");
  }
  void SetBufferSize(int32_t events) override {
    impl_->Log("Keyboard.SetBufferSize(" + std::to_string(events) + ")");
  }
  void Acquire() override {
    impl_->Log("Keyboard.Acquire");
    acquired_ = true;
  }
  void Unacquire() override {
    impl_->Log("Keyboard.Unacquire");
    acquired_ = false;
  }

  int32_t GetDeviceData(std::span<KeyEvent> events) override {
    if (!acquired_) throw PlatformError("keyboard not acquired");
    int32_t count = 0;
    while (!impl_->keys.empty() && static_cast<size_t>(count) < events.size()) {
      events[static_cast<size_t>(count)] = impl_->keys.front();
      impl_->keys.pop_front();
      ++count;
    }
    return count;
  }

  // A scripted run has no layout of its own: its keys are a US keyboard's.
  char32_t KeyCharacter(int32_t keyCode) override { return KeyCap(UsCharacterOfSet1(keyCode)); }

 private:
  ImplPtr impl_;
  bool acquired_ = false;
};

class HeadlessInput : public Input {
 public:
  explicit HeadlessInput(ImplPtr impl) : impl_(std::move(impl)) {}
  ~HeadlessInput() override { impl_->Log("Release.Input"); }

  std::shared_ptr<KeyboardDevice> CreateKeyboardDevice() override {
    impl_->Log("Input.CreateKeyboardDevice");
    return std::make_shared<HeadlessKeyboard>(impl_);
  }

 private:
  ImplPtr impl_;
};

class HeadlessRoot : public Root {
 public:
  explicit HeadlessRoot(ImplPtr impl) : impl_(std::move(impl)) {}
  ~HeadlessRoot() override { impl_->Log("Release.Root"); }

  std::shared_ptr<Display> CreateDisplay() override {
    impl_->Log("Root.CreateDisplay");
    return std::make_shared<HeadlessDisplay>(impl_);
  }
  std::shared_ptr<SoundDevice> CreateSoundDevice() override {
    impl_->Log("Root.CreateSoundDevice");
    return std::make_shared<HeadlessSoundDevice>(impl_);
  }
  std::shared_ptr<Input> CreateInput() override {
    impl_->Log("Root.CreateInput");
    return std::make_shared<HeadlessInput>(impl_);
  }

 private:
  ImplPtr impl_;
};

}  // namespace

HeadlessPlatform::HeadlessPlatform() : impl_(std::make_shared<Impl>()) {}
HeadlessPlatform::~HeadlessPlatform() = default;

std::shared_ptr<Root> HeadlessPlatform::CreateRoot() {
  return std::make_shared<HeadlessRoot>(impl_);
}

uint32_t HeadlessPlatform::Tick() const { return impl_->tick; }
void HeadlessPlatform::SetTick(uint32_t tick) { impl_->tick = tick; }
// The tick count wraps at 2^32 like the system's own counter.
void HeadlessPlatform::Advance(uint32_t ms) { impl_->tick += ms; }

bool HeadlessPlatform::QueueKey(int32_t keyCode, int32_t data) {
  if (impl_->keys.size() >= kKeyQueueLimit) return false;
  KeyEvent e;
  e.keyCode = keyCode;
  e.data = data;
  e.timeStamp = static_cast<int32_t>(impl_->tick);
  e.sequence = impl_->keySequence;
  // The sequence number only orders events; it starts over rather than overflow.
  impl_->keySequence = impl_->keySequence == INT32_MAX ? 0 : impl_->keySequence + 1;
  impl_->keys.push_back(e);
  return true;
}

const std::vector<SurfaceOp>& HeadlessPlatform::FrameOps() const { return impl_->frameOps; }
void HeadlessPlatform::ClearFrame() { impl_->frameOps.clear(); }

std::vector<std::string> HeadlessPlatform::TakeSoundLog() {
  std::vector<std::string> taken;
  taken.swap(impl_->soundLog);
  return taken;
}

const std::vector<std::string>& HeadlessPlatform::CallLog() const { return impl_->callLog; }
const std::vector<uint8_t>& HeadlessPlatform::ScreenPixels() const { return impl_->screen; }
const Palette& HeadlessPlatform::ScreenPalette() const { return impl_->screenPalette; }

void HeadlessPlatform::SetResources(
    std::function<std::span<const uint8_t>(std::string_view)> lookup) {
  impl_->resources = std::move(lookup);
}

}  // namespace media
