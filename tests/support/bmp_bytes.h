// Small BMP files made in tests: 8-bit with a palette, or 24-bit.
#pragma once

#include <cstdint>
#include <string>

namespace testing_support {

// An uncompressed bottom-up BMP of the given size, every pixel index 1 (8
// bits: a grey palette) or mid grey (24 bits).
std::string MakeBmp(int32_t width, int32_t height, int bitsPerPixel);

}  // namespace testing_support
