// Small BMP and WAVE files built in memory for the backend tests, and a
// temporary folder to put them in.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "media/surface.h"

namespace backend_test {

inline void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v & 0xFF));
  out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}
inline void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
inline void PutTag(std::vector<uint8_t>& out, const char* tag) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

// The palette every test picture uses: entry i is (i, 255 - i, i / 2), and
// entry 128 is pure blue like the glyph sheet's background.
inline media::Color TestColor(int i) {
  if (i == 128) return {0, 0, 255};
  return {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i / 2)};
}

// An uncompressed BMP, bottom-up, of bitsPerPixel 8 (with the test palette)
// or 24 (grey). pixel(x, y) gives the palette index.
inline std::vector<uint8_t> MakeBmp(int32_t width, int32_t height,
                                    const std::function<uint8_t(int32_t, int32_t)>& pixel,
                                    int bitsPerPixel = 8) {
  const uint32_t paletteBytes = bitsPerPixel == 8 ? 1024 : 0;
  const uint32_t rowBytes = (static_cast<uint32_t>(width) * (bitsPerPixel / 8) + 3) & ~3u;
  const uint32_t pixelOffset = 14 + 40 + paletteBytes;
  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  Put32(out, pixelOffset + rowBytes * static_cast<uint32_t>(height));
  Put32(out, 0);
  Put32(out, pixelOffset);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height));
  Put16(out, 1);
  Put16(out, static_cast<uint32_t>(bitsPerPixel));
  Put32(out, 0);  // no compression
  Put32(out, rowBytes * static_cast<uint32_t>(height));
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, bitsPerPixel == 8 ? 256 : 0);
  Put32(out, 0);
  for (int i = 0; i < (bitsPerPixel == 8 ? 256 : 0); ++i) {
    const media::Color c = TestColor(i);
    out.push_back(c.b);
    out.push_back(c.g);
    out.push_back(c.r);
    out.push_back(0);
  }
  for (int32_t row = height - 1; row >= 0; --row) {
    size_t written = 0;
    for (int32_t x = 0; x < width; ++x) {
      const uint8_t index = pixel(x, row);
      for (int b = 0; b < bitsPerPixel / 8; ++b) out.push_back(index);
      written += static_cast<size_t>(bitsPerPixel / 8);
    }
    for (; written < rowBytes; ++written) out.push_back(0);
  }
  return out;
}

// A PCM WAVE file of dataBytes bytes of silence; a LIST chunk before the
// data when withList.
inline std::vector<uint8_t> MakeWav(uint32_t rate, uint16_t bits, uint32_t dataBytes,
                                    bool withList = false) {
  const uint16_t blockAlign = static_cast<uint16_t>(bits / 8);
  std::vector<uint8_t> body;
  PutTag(body, "WAVE");
  PutTag(body, "fmt ");
  Put32(body, 16);
  Put16(body, 1);
  Put16(body, 1);
  Put32(body, rate);
  Put32(body, rate * blockAlign);
  Put16(body, blockAlign);
  Put16(body, bits);
  if (withList) {
    PutTag(body, "LIST");
    Put32(body, 5);  // odd: padded with one byte
    body.insert(body.end(), {'I', 'N', 'F', 'O', 'x', 0});
  }
  PutTag(body, "data");
  Put32(body, dataBytes);
  body.insert(body.end(), dataBytes, bits == 8 ? 128 : 0);
  if (dataBytes & 1) body.push_back(0);
  std::vector<uint8_t> out;
  PutTag(out, "RIFF");
  Put32(out, static_cast<uint32_t>(body.size()));
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

// Embedded files by name, for SetResources and SdlOptions::resources.
struct Resources {
  std::map<std::string, std::vector<uint8_t>, std::less<>> files;
  std::function<std::span<const uint8_t>(std::string_view)> Lookup() const {
    return [this](std::string_view name) -> std::span<const uint8_t> {
      auto it = files.find(name);
      if (it == files.end()) return {};
      return {it->second.data(), it->second.size()};
    };
  }
};

// A folder of its own under the system's temporary folder, removed after.
class TempDir {
 public:
  explicit TempDir(const std::string& name)
      : path_(std::filesystem::temp_directory_path() /
              (name + "-" + std::to_string(getpid()) + "-" +
               std::to_string(reinterpret_cast<uintptr_t>(this)))) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    std::ofstream out(path_ / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return File(name);
  }

 private:
  std::filesystem::path path_;
};

}  // namespace backend_test
