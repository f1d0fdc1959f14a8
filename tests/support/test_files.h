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

// An uncompressed 8-bit BMP file whose pixel (x, y) is pixel(x, y); palette entry i is
// (i, 255 - i, i / 2).
inline std::vector<uint8_t> Bmp(int32_t width, int32_t height,
                                const std::function<uint8_t(int32_t, int32_t)>& pixel) {
  std::vector<uint8_t> data;
  for (int32_t y = height - 1; y >= 0; --y) {  // bottom row first
    for (int32_t x = 0; x < width; ++x) data.push_back(pixel(x, y));
    while (data.size() % 4) data.push_back(0);
  }
  const auto size = static_cast<uint32_t>(14 + 40 + 4 * 256 + data.size());
  std::vector<uint8_t> out = {'B', 'M'};
  for (const uint32_t v : {size, 0u, 14u + 40u + 4u * 256u, 40u, static_cast<uint32_t>(width),
                           static_cast<uint32_t>(height), 1u | 8u << 16, 0u,
                           static_cast<uint32_t>(data.size()), 2835u, 2835u, 256u, 0u})
    Put(out, v, 4);
  for (int i = 0; i < 256; ++i)
    out.insert(out.end(), {uint8_t(i / 2), uint8_t(255 - i), uint8_t(i), 0});
  out.insert(out.end(), data.begin(), data.end());
  return out;
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
