// The display work both backends share: the flip chain and the pictures
// loaded from back.bmp and from the embedded glyph sheet.
#include "media/display_common.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "storage/read.h"

namespace media {
namespace {

// One line "<what>: <problem>", whether or not the lower layer already named
// the file.
[[noreturn]] void Rethrow(const std::string& what, const std::exception& e) {
  std::string message = e.what();
  if (message.rfind(what, 0) != 0) message = what + ": " + message;
  std::replace(message.begin(), message.end(), '\n', ' ');
  throw PlatformError(message);
}

std::shared_ptr<SoftSurface> DecodeBmpFile(const std::string& path, const std::string& label) {
  const storage::FileRead file = storage::ReadWholeFile(path, kMaxBmpFileBytes);
  if (!file.complete) {
    throw PlatformError(path + ": cannot read: " + file.Problem(kMaxBmpFileBytes));
  }
  try {
    return LoadBmp8(reinterpret_cast<const uint8_t*>(file.bytes.data()), file.bytes.size(), label);
  } catch (const std::exception& e) {
    Rethrow(path, e);
  }
}

std::string SizeText(int32_t w, int32_t h) { return std::to_string(w) + " x " + std::to_string(h); }

// Copies the top-left width x height of a decoded picture into `into`.
void CopyTopLeft(const SoftSurface& from, SoftSurface& into) {
  const auto& src = from.Pixels();
  auto& dst = into.Pixels();
  for (int32_t y = 0; y < into.Height(); ++y) {
    std::memcpy(dst.data() + static_cast<size_t>(y) * into.Width(),
                src.data() + static_cast<size_t>(y) * from.Width(),
                static_cast<size_t>(into.Width()));
  }
}

}  // namespace

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

void CheckDisplayMode(int32_t width, int32_t height, int32_t bitsPerPixel) {
  if (width != kScreenWidth || height != kScreenHeight || bitsPerPixel != kScreenBits) {
    throw PlatformError("display mode " + SizeText(width, height) + " with " +
                        std::to_string(bitsPerPixel) + " bits per pixel is not available (only " +
                        SizeText(kScreenWidth, kScreenHeight) + " with 8)");
  }
}

FlipChain MakeFlipChain(int32_t backBufferCount, Presenter* presenter, const SurfaceMaker& make) {
  if (backBufferCount != 1) {
    throw PlatformError("a flip chain has exactly one back buffer, not " +
                        std::to_string(backBufferCount));
  }
  FlipChain chain;
  chain.primary = make(kScreenWidth, kScreenHeight, "primary");
  chain.back = make(kScreenWidth, kScreenHeight, "back");
  chain.primary->AttachBackBuffer(chain.back, presenter);
  return chain;
}

std::shared_ptr<Palette> LoadPaletteFromBmpFile(const std::string& path) {
  auto picture = DecodeBmpFile(path, "palette");
  if (!picture->GetPalette()) throw PlatformError(path + ": the picture has no palette");
  return std::make_shared<Palette>(*picture->GetPalette());
}

std::shared_ptr<SoftSurface> LoadBackgroundFromFile(const std::string& path, int32_t width,
                                                    int32_t height, const SurfaceMaker& make) {
  auto picture = DecodeBmpFile(path, "background");
  if (picture->Width() != width || picture->Height() != height) {
    throw PlatformError(path + ": the picture is " + SizeText(picture->Width(), picture->Height()) +
                        ", not " + SizeText(width, height));
  }
  auto surface = make(width, height, "background");
  CopyTopLeft(*picture, *surface);
  surface->SetPalette(picture->GetPalette());
  return surface;
}

std::shared_ptr<SoftSurface> LoadSheetFromResource(const std::string& name,
                                                   std::span<const uint8_t> bytes, int32_t width,
                                                   int32_t height, const SurfaceMaker& make) {
  if (bytes.empty()) throw PlatformError(name + ": no such picture in the program");
  std::shared_ptr<SoftSurface> picture;
  try {
    picture = LoadBmp8(bytes.data(), bytes.size(), "sprite");
  } catch (const std::exception& e) {
    Rethrow(name, e);
  }
  // The stored sheet may be wider (a black strip on the right) but never
  // smaller: a source rectangle must never reach past what was drawn.
  if (picture->Width() < width || picture->Height() != height) {
    throw PlatformError(name + ": the picture is " + SizeText(picture->Width(), picture->Height()) +
                        ", not " + SizeText(width, height) + " or wider");
  }
  auto surface = make(width, height, "sprite");
  CopyTopLeft(*picture, *surface);
  surface->SetPalette(picture->GetPalette());
  return surface;
}

}  // namespace media
