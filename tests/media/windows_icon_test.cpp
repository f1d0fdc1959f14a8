// The Windows program's icon file (assets/icons/rapiko.ico, made by tools/make_ico.py).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "support/script_run.h"

namespace {

uint32_t Le(const std::string& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(b.at(at + i));
  return v;
}

const std::string kIcons = std::string(RAPIKO_ASSETS_DIR) + "/icons/";

// Each picture where its directory entry says, of the size it says, in the
// form Windows reads for that size, and no two of them overlapping.
TEST(WindowsIcon, EveryEntryIsAWholePictureOfItsSize) {
  const std::string ico = testing_support::ReadFileBytes(kIcons + "rapiko.ico");
  ASSERT_GE(ico.size(), 6u);
  EXPECT_EQ(Le(ico, 0, 2), 0u);  // reserved
  EXPECT_EQ(Le(ico, 2, 2), 1u);  // an icon, not a cursor
  const uint32_t sizes[] = {16, 24, 32, 48, 64, 256};
  ASSERT_EQ(Le(ico, 4, 2), std::size(sizes));
  size_t expectedOffset = 6 + 16 * std::size(sizes);
  for (size_t i = 0; i < std::size(sizes); ++i) {
    SCOPED_TRACE("entry of " + std::to_string(sizes[i]) + " pixels");
    const size_t e = 6 + 16 * i;
    const uint32_t side = sizes[i] == 256 ? 0 : sizes[i];  // 0 stands for 256
    EXPECT_EQ(Le(ico, e, 1), side);
    EXPECT_EQ(Le(ico, e + 1, 1), side);
    EXPECT_EQ(Le(ico, e + 6, 2), 32u);  // bits per pixel
    const uint32_t length = Le(ico, e + 8, 4);
    const uint32_t offset = Le(ico, e + 12, 4);
    EXPECT_EQ(offset, expectedOffset);  // packed in order, none overlapping
    ASSERT_LE(size_t{offset} + length, ico.size());
    expectedOffset = offset + length;
    const std::string picture = ico.substr(offset, length);
    if (sizes[i] == 256) {
      EXPECT_EQ(picture, testing_support::ReadFileBytes(kIcons + "rapiko-256.png"));
      continue;
    }
    const uint32_t n = sizes[i];
    EXPECT_EQ(Le(picture, 0, 4), 40u);    // the bitmap's header
    EXPECT_EQ(Le(picture, 4, 4), n);      // width
    EXPECT_EQ(Le(picture, 8, 4), 2 * n);  // height, with the mask's rows
    EXPECT_EQ(Le(picture, 14, 2), 32u);   // BGRA
    const uint32_t maskRow = (n + 31) / 32 * 4;
    EXPECT_EQ(length, 40 + 4 * n * n + maskRow * n);
    // The corners lie outside the rounded tile: clear; the middle is drawn.
    EXPECT_EQ(Le(picture, 40 + 3, 1), 0u) << "bottom-left pixel's alpha";
    const size_t middle = 40 + 4 * (size_t{n} / 2 * n + n / 2);
    EXPECT_EQ(Le(picture, middle + 3, 1), 255u) << "middle pixel's alpha";
  }
  EXPECT_EQ(expectedOffset, ico.size()) << "bytes after the last picture";
}

}  // namespace
