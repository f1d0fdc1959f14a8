// A display that draws nothing: a round replayed for its result needs the
// rules, not the pictures.
#include "server/null_display.h"

#include "media/surface.h"

namespace server {
namespace {

class NullSurface : public media::Surface {
 public:
  bool FastBlit(int32_t, int32_t, media::Surface&, media::Rect, media::BlitFlags) override {
    return false;
  }
  void DrawBox(int32_t, int32_t, int32_t, int32_t) override {}
  void DrawText(int32_t, int32_t, const std::string&) override {}
  void SetForeColor(media::Rgb) override {}
  void SetFillColor(media::Rgb) override {}
  void Flip() override {}
  std::shared_ptr<media::Surface> GetAttachedSurface() override {
    if (!back_) back_ = std::make_shared<NullSurface>();
    return back_;
  }
  void SetColorKey(uint8_t) override {}
  void SetPalette(std::shared_ptr<media::Palette>) override {}

 private:
  std::shared_ptr<NullSurface> back_;
};

class NullDisplay : public media::Display {
 public:
  void SetCooperativeLevel(media::CooperativeLevel) override {}
  void SetDisplayMode(int32_t, int32_t, int32_t) override {}
  void RestoreDisplayMode() override {}
  std::shared_ptr<media::Surface> CreatePrimarySurface(int32_t) override {
    return std::make_shared<NullSurface>();
  }
  std::shared_ptr<media::Surface> CreateSurfaceFromFile(const std::string&, int32_t,
                                                        int32_t) override {
    return std::make_shared<NullSurface>();
  }
  std::shared_ptr<media::Surface> CreateSurfaceFromResource(const std::string&, int32_t,
                                                            int32_t) override {
    return std::make_shared<NullSurface>();
  }
  std::shared_ptr<media::Palette> LoadPaletteFromFile(const std::string&) override {
    return std::make_shared<media::Palette>();
  }
};

class RootWithoutDisplay : public media::Root {
 public:
  explicit RootWithoutDisplay(std::shared_ptr<media::Root> inner) : inner_(std::move(inner)) {}
  std::shared_ptr<media::Display> CreateDisplay() override {
    return std::make_shared<NullDisplay>();
  }
  std::shared_ptr<media::SoundDevice> CreateSoundDevice() override {
    return inner_->CreateSoundDevice();
  }
  std::shared_ptr<media::Input> CreateInput() override { return inner_->CreateInput(); }

 private:
  std::shared_ptr<media::Root> inner_;
};

}  // namespace

std::shared_ptr<media::Root> RootWithoutPictures(std::shared_ptr<media::Root> inner) {
  return std::make_shared<RootWithoutDisplay>(std::move(inner));
}

}  // namespace server
