// Small BMP and WAVE files built in memory for tests.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "media/surface.h"

namespace test_files {

// Appends v little-endian in `bytes` bytes.
inline void Put(std::vector<uint8_t>& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// Entry i of the test palette is (i, 255 - i, i / 2).
inline media::Color TestColor(int i) {
  return {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i / 2)};
}

// A BMP file put together field by field, so that a test can break any field.
struct BmpFile {
  uint32_t headerSize = 40;  // 12: the old core header
  int32_t width = 0;
  int32_t height = 0;  // negative: top-down
  uint16_t bits = 8;
  uint32_t compression = 0;
  std::vector<media::Color> palette;
  std::vector<uint8_t> data;  // the pixel data as stored

  std::vector<uint8_t> Bytes() const {
    const bool core = headerSize == 12;
    std::vector<uint8_t> h;
    Put(h, headerSize, 4);
    Put(h, static_cast<uint32_t>(width), core ? 2 : 4);
    Put(h, static_cast<uint32_t>(height), core ? 2 : 4);
    Put(h, 1, 2);
    Put(h, bits, 2);
    if (!core) {
      for (uint32_t v : {compression, static_cast<uint32_t>(data.size()), 2835u, 2835u,
                         static_cast<uint32_t>(palette.size()), 0u})
        Put(h, v, 4);
      h.resize(headerSize, 0);
    }
    for (const media::Color& c : palette) {
      h.insert(h.end(), {c.b, c.g, c.r});
      if (!core) h.push_back(0);
    }
    std::vector<uint8_t> out = {'B', 'M'};
    Put(out, static_cast<uint32_t>(14 + h.size() + data.size()), 4);
    Put(out, 0, 4);
    Put(out, static_cast<uint32_t>(14 + h.size()), 4);
    out.insert(out.end(), h.begin(), h.end());
    out.insert(out.end(), data.begin(), data.end());
    return out;
  }
};

// An uncompressed 8-bit picture with the test palette whose pixel (x, y) is pixel(x, y).
inline BmpFile Bmp(int32_t width, int32_t height,
                   const std::function<uint8_t(int32_t, int32_t)>& pixel, bool topDown = false) {
  BmpFile f;
  f.width = width;
  f.height = topDown ? -height : height;
  for (int i = 0; i < 256; ++i) f.palette.push_back(TestColor(i));
  for (int32_t i = 0; i < height; ++i) {
    const int32_t y = topDown ? i : height - 1 - i;
    for (int32_t x = 0; x < width; ++x) f.data.push_back(pixel(x, y));
    while (f.data.size() % 4) f.data.push_back(0);
  }
  return f;
}

// The message of the PlatformError that load() throws, or "no error".
template <typename Load>
std::string ErrorOf(Load load) {
  try {
    load();
  } catch (const media::PlatformError& e) {
    return e.what();
  }
  return "no error";
}

// A mono PCM WAVE file of dataBytes bytes of silence.
inline std::vector<uint8_t> MakeWav(uint32_t rate, uint16_t bits, uint32_t dataBytes) {
  std::vector<uint8_t> out = {'R', 'I', 'F', 'F'};
  Put(out, 36 + dataBytes, 4);
  out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  for (uint32_t v : {16u, 1u | 1u << 16, rate, rate * bits / 8, bits / 8u | bits << 16})
    Put(out, v, 4);
  out.insert(out.end(), {'d', 'a', 't', 'a'});
  Put(out, dataBytes, 4);
  out.insert(out.end(), dataBytes, bits == 8 ? 128 : 0);
  return out;
}

// Embedded files by name, for SetResources and SdlOptions::resources.
struct Resources {
  std::map<std::string, std::vector<uint8_t>, std::less<>> files;
  std::function<std::span<const uint8_t>(std::string_view)> Lookup() const {
    return [this](std::string_view name) {
      const auto it = files.find(name);
      return it == files.end() ? std::span<const uint8_t>() : std::span<const uint8_t>(it->second);
    };
  }
};

}  // namespace test_files
