// PNG pictures through libpng: screenshots written, icons and screenshots read.
#include "media/png.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

#include "media/platform.h"
#include "storage/errors.h"
#include "storage/write.h"

namespace media {
namespace {

void AppendToString(png_structp png, png_bytep data, png_size_t size) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), size);
}

void NoFlush(png_structp) {}

// libpng reports a failure by longjmp, so nothing here may own a C++ object
// across its calls: the caller owns the output and the rows. Returns false on
// a failure (memory, in practice).
bool EncodeInto(std::string& out, const png_color* colors, png_bytep* rows, int32_t width,
                int32_t height) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &out, AppendToString, NoFlush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_set_PLTE(png, info, colors, 256);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

std::string EncodePng(const std::vector<uint8_t>& pixels, int32_t width, int32_t height,
                      const Palette& palette) {
  if (width <= 0 || height <= 0 ||
      pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) {
    throw PlatformError("cannot write a picture of " + std::to_string(width) + " x " +
                        std::to_string(height) + " from " + std::to_string(pixels.size()) +
                        " pixels");
  }
  png_color colors[256];
  for (size_t i = 0; i < 256; ++i) {
    const Color& c = palette.Colors()[i];
    colors[i] = png_color{c.r, c.g, c.b};
  }
  std::vector<png_bytep> rows(static_cast<size_t>(height));
  for (size_t y = 0; y < rows.size(); ++y) {
    rows[y] = const_cast<png_bytep>(pixels.data()) + y * static_cast<size_t>(width);
  }
  std::string out;
  if (!EncodeInto(out, colors, rows.data(), width, height)) {
    throw PlatformError("cannot write: libpng could not encode the picture");
  }
  return out;
}

void WritePng(const std::string& path, const std::vector<uint8_t>& pixels, int32_t width,
              int32_t height, const Palette& palette) {
  std::string png;
  try {
    png = EncodePng(pixels, width, height, palette);
  } catch (const PlatformError& e) {
    throw PlatformError(path + ": " + e.what());
  }
  if (const int error = storage::ReplaceFile(path, png).Failure()) {
    throw PlatformError(path + ": cannot write: " + storage::ErrorText(error));
  }
}

std::optional<RgbaPicture> DecodePng(std::span<const uint8_t> png) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) return std::nullopt;
  image.format = PNG_FORMAT_RGBA;
  RgbaPicture picture;
  picture.width = static_cast<int32_t>(image.width);
  picture.height = static_cast<int32_t>(image.height);
  picture.rgba.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, picture.rgba.data(), 0, nullptr)) {
    png_image_free(&image);
    return std::nullopt;
  }
  return picture;
}

}  // namespace media
