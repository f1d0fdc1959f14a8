// Media objects that pass every call on to another: a wrapper overrides only what it changes.
#pragma once

#include <memory>
#include <utility>

#include "media/platform.h"

namespace media {

class ForwardingSurface : public Surface {
 public:
  explicit ForwardingSurface(std::shared_ptr<Surface> inner) : inner_(std::move(inner)) {}
  bool FastBlit(int32_t x, int32_t y, Surface& source, Rect rect, BlitFlags flags) override {
    return inner_->FastBlit(x, y, source, rect, flags);
  }
  void DrawBox(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override {
    inner_->DrawBox(x1, y1, x2, y2);
  }
  void DrawText(int32_t x, int32_t y, const std::string& text) override {
    inner_->DrawText(x, y, text);
  }
  void SetForeColor(Rgb rgb) override { inner_->SetForeColor(rgb); }
  void SetFillColor(Rgb rgb) override { inner_->SetFillColor(rgb); }
  void Flip() override { inner_->Flip(); }
  std::shared_ptr<Surface> GetAttachedSurface() override { return inner_->GetAttachedSurface(); }
  void SetColorKey(uint8_t index) override { inner_->SetColorKey(index); }
  void SetPalette(std::shared_ptr<Palette> palette) override {
    inner_->SetPalette(std::move(palette));
  }

 protected:
  std::shared_ptr<Surface> inner_;
};

class ForwardingDisplay : public Display {
 public:
  explicit ForwardingDisplay(std::shared_ptr<Display> inner) : inner_(std::move(inner)) {}
  void SetCooperativeLevel(CooperativeLevel level) override { inner_->SetCooperativeLevel(level); }
  void SetDisplayMode(int32_t width, int32_t height, int32_t bits) override {
    inner_->SetDisplayMode(width, height, bits);
  }
  void RestoreDisplayMode() override { inner_->RestoreDisplayMode(); }
  std::shared_ptr<Surface> CreatePrimarySurface(int32_t backBufferCount) override {
    return inner_->CreatePrimarySurface(backBufferCount);
  }
  std::shared_ptr<Surface> CreateSurfaceFromFile(const std::string& path, int32_t width,
                                                 int32_t height) override {
    return inner_->CreateSurfaceFromFile(path, width, height);
  }
  std::shared_ptr<Surface> CreateSurfaceFromResource(const std::string& name, int32_t width,
                                                     int32_t height) override {
    return inner_->CreateSurfaceFromResource(name, width, height);
  }
  std::shared_ptr<Palette> LoadPaletteFromFile(const std::string& path) override {
    return inner_->LoadPaletteFromFile(path);
  }

 protected:
  std::shared_ptr<Display> inner_;
};

class ForwardingKeyboard : public KeyboardDevice {
 public:
  explicit ForwardingKeyboard(std::shared_ptr<KeyboardDevice> inner) : inner_(std::move(inner)) {}
  void SetDataFormatKeyboard() override { inner_->SetDataFormatKeyboard(); }
  void SetCooperativeLevel(int32_t flags) override { inner_->SetCooperativeLevel(flags); }
  void SetBufferSize(int32_t events) override { inner_->SetBufferSize(events); }
  void Acquire() override { inner_->Acquire(); }
  void Unacquire() override { inner_->Unacquire(); }
  int32_t GetDeviceData(std::span<KeyEvent> events) override {
    return inner_->GetDeviceData(events);
  }
  char32_t KeyCharacter(int32_t keyCode) override { return inner_->KeyCharacter(keyCode); }

 protected:
  std::shared_ptr<KeyboardDevice> inner_;
};

class ForwardingInput : public Input {
 public:
  explicit ForwardingInput(std::shared_ptr<Input> inner) : inner_(std::move(inner)) {}
  std::shared_ptr<KeyboardDevice> CreateKeyboardDevice() override {
    return inner_->CreateKeyboardDevice();
  }

 protected:
  std::shared_ptr<Input> inner_;
};

class ForwardingRoot : public Root {
 public:
  explicit ForwardingRoot(std::shared_ptr<Root> inner) : inner_(std::move(inner)) {}
  std::shared_ptr<Display> CreateDisplay() override { return inner_->CreateDisplay(); }
  std::shared_ptr<SoundDevice> CreateSoundDevice() override { return inner_->CreateSoundDevice(); }
  std::shared_ptr<Input> CreateInput() override { return inner_->CreateInput(); }

 protected:
  std::shared_ptr<Root> inner_;
};

class ForwardingWindowEvents : public WindowEvents {
 public:
  explicit ForwardingWindowEvents(WindowEvents& inner) : inner_(inner) {}
  void OnMouseDown() override { inner_.OnMouseDown(); }
  void OnCloseRequest() override { inner_.OnCloseRequest(); }
  void OnFocusLost() override { inner_.OnFocusLost(); }
  void OnFocusGained() override { inner_.OnFocusGained(); }

 protected:
  WindowEvents& inner_;
};

class ForwardingSystem : public System {
 public:
  explicit ForwardingSystem(System& inner) : inner_(inner) {}
  std::shared_ptr<Root> CreateRoot() override { return inner_.CreateRoot(); }
  uint32_t GetTickCount() override { return inner_.GetTickCount(); }
  bool BeginPass() override { return inner_.BeginPass(); }
  void DispatchMessages(WindowEvents& events) override { inner_.DispatchMessages(events); }
  void Wait(uint32_t ms) override { inner_.Wait(ms); }
  Controls* GetControls() override { return inner_.GetControls(); }

 protected:
  System& inner_;
};

}  // namespace media
