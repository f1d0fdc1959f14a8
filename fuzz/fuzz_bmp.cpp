// Fuzz target: back.bmp's road into the game: the BMP reader, the display's loaders and blits.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>

#include "media/display_common.h"
#include "media/surface.h"

namespace {

constexpr int32_t kScreenWidth = 640;
constexpr int32_t kScreenHeight = 480;
constexpr int32_t kSheetWidth = 348;
constexpr int32_t kSheetHeight = 262;

[[noreturn]] void Broken(const std::string& what) {
  std::fprintf(stderr, "bmp path broken: %s\n", what.c_str());
  std::abort();
}

std::shared_ptr<media::SoftSurface> Make(int32_t w, int32_t h, const std::string& label) {
  return std::make_shared<media::SoftSurface>(w, h, label);
}

// The display loaders read files; an in-memory file gives them the input.
const std::string& InputPath() {
  static const std::string path = [] {
    const int fd = memfd_create("back.bmp", 0);
    if (fd < 0) Broken("memfd_create failed");
    return "/proc/self/fd/" + std::to_string(fd);
  }();
  return path;
}

void WriteInput(const uint8_t* data, size_t size) {
  const int fd = std::stoi(InputPath().substr(std::string("/proc/self/fd/").size()));
  if (ftruncate(fd, 0) != 0) Broken("ftruncate failed");
  size_t done = 0;
  while (done < size) {
    const ssize_t n = pwrite(fd, data + done, size - done, static_cast<off_t>(done));
    if (n <= 0) Broken("pwrite failed");
    done += static_cast<size_t>(n);
  }
}

// Load errors are one line naming the file.
void CheckError(const std::exception& e, const std::string& name) {
  const std::string message = e.what();
  if (message.rfind(name, 0) != 0) Broken("error does not name the file: " + message);
  if (message.find('\n') != std::string::npos) Broken("error is not one line: " + message);
}

media::Rect RectFrom(const uint8_t* data, size_t size, int32_t w, int32_t h) {
  if (size < 8) return media::Rect{};
  const int32_t left = data[size - 1] % (w + 2) - 1;
  const int32_t top = data[size - 2] % (h + 2) - 1;
  return media::Rect{left, top, left + data[size - 3] % (w + 2), top + data[size - 4] % (h + 2)};
}

// What the game does with a loaded picture: copies it into the back buffer
// (translating the palette), keyed and plain, and copies parts back.
void Exercise(media::SoftSurface& picture, const uint8_t* data, size_t size) {
  const int32_t w = picture.Width();
  const int32_t h = picture.Height();
  if (w <= 0 || h <= 0 ||
      picture.Pixels().size() != static_cast<size_t>(w) * static_cast<size_t>(h)) {
    Broken("picture with a bad size");
  }
  if (!picture.GetPalette()) Broken("picture without a palette");

  auto back = Make(kScreenWidth, kScreenHeight, "back");
  std::array<media::Color, 256> grey{};
  for (size_t i = 0; i < grey.size(); ++i) {
    grey[i] = media::Color{static_cast<uint8_t>(i), static_cast<uint8_t>(i),
                           static_cast<uint8_t>(255 - i)};
  }
  back->SetPalette(std::make_shared<media::Palette>(grey));
  const bool fits = w <= kScreenWidth && h <= kScreenHeight;
  if (back->FastBlit(0, 0, picture, media::Rect{}, media::BlitFlags::Wait) != fits) {
    Broken("whole-picture blit disagrees with its size");
  }
  picture.SetColorKey(size > 0 ? data[0] : 0);
  const media::Rect rect = RectFrom(data, size, w, h);
  const int32_t x = size > 4 ? data[4] * 3 - 100 : 0;
  const int32_t y = size > 5 ? data[5] * 2 - 60 : 0;
  back->FastBlit(x, y, picture, rect, media::BlitFlags::KeySrcWait);
  picture.FastBlit(0, 0, *back,
                   media::Rect{0, 0, std::min(w, kScreenWidth), std::min(h, kScreenHeight)},
                   media::BlitFlags::KeySrcWait);
  picture.FastBlit(x / 4, y / 4, picture, rect, media::BlitFlags::Wait);  // overlapping self-copy
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::shared_ptr<media::SoftSurface> picture;
  try {
    picture = media::LoadBmp8(data, size, "back");
  } catch (const media::PlatformError&) {
  }
  if (picture) Exercise(*picture, data, size);

  // The display's own loaders: the background and the screen palette from
  // the file, and the glyph sheet from embedded bytes.
  WriteInput(data, size);
  const std::string& path = InputPath();
  try {
    auto background = media::LoadBackgroundFromFile(path, kScreenWidth, kScreenHeight, Make);
    if (!picture) Broken("the background loaded where the reader failed");
    if (background->Width() != kScreenWidth || background->Height() != kScreenHeight ||
        background->Label() != "background" || !background->GetPalette()) {
      Broken("background with a bad shape");
    }
    // The picture was drawn on above: compare with a fresh read.
    if (background->Pixels() != media::LoadBmp8(data, size, "back")->Pixels()) {
      Broken("background differs from the picture");
    }
  } catch (const media::PlatformError& e) {
    CheckError(e, path);
  }
  try {
    auto palette = media::LoadPaletteFromBmpFile(path);
    if (!picture || palette->Colors() != picture->GetPalette()->Colors()) {
      Broken("palette differs from the picture's");
    }
  } catch (const media::PlatformError& e) {
    CheckError(e, path);
  }
  try {
    auto sheet = media::LoadSheetFromResource("ABC", std::span<const uint8_t>(data, size),
                                              kSheetWidth, kSheetHeight, Make);
    if (sheet->Width() != kSheetWidth || sheet->Height() != kSheetHeight)
      Broken("sheet with a bad size");
    Exercise(*sheet, data, size);
  } catch (const media::PlatformError& e) {
    CheckError(e, "ABC");
  }
  return 0;
}
