// Small BMP files made in tests: 8-bit with a palette, or 24-bit.
#include "support/bmp_bytes.h"

namespace testing_support {

namespace {

void Put16(std::string& s, uint32_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& s, uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

}  // namespace

std::string MakeBmp(int32_t width, int32_t height, int bitsPerPixel) {
  const uint32_t paletteBytes = bitsPerPixel == 8 ? 256 * 4 : 0;
  const uint32_t rowBytes = ((static_cast<uint32_t>(width) * bitsPerPixel / 8) + 3) & ~3u;
  const uint32_t dataOffset = 14 + 40 + paletteBytes;
  const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(height);
  std::string s = "BM";
  Put32(s, dataOffset + imageBytes);
  Put32(s, 0);
  Put32(s, dataOffset);
  Put32(s, 40);
  Put32(s, static_cast<uint32_t>(width));
  Put32(s, static_cast<uint32_t>(height));
  Put16(s, 1);
  Put16(s, static_cast<uint32_t>(bitsPerPixel));
  Put32(s, 0);
  Put32(s, imageBytes);
  Put32(s, 2835);
  Put32(s, 2835);
  Put32(s, bitsPerPixel == 8 ? 256 : 0);
  Put32(s, 0);
  for (uint32_t i = 0; i < paletteBytes / 4; ++i) {
    s += static_cast<char>(i);
    s += static_cast<char>(i);
    s += static_cast<char>(i);
    s += '\0';
  }
  const char fill = bitsPerPixel == 8 ? 1 : static_cast<char>(0x80);
  s.append(imageBytes, fill);
  return s;
}

}  // namespace testing_support
