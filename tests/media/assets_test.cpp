// The committed sounds as the game reads them. The pictures and the word
// list are checked by their generators in tools/ and pinned by the golden games.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "media/wav.h"
#include "support/test_files.h"

namespace media {
namespace {

std::vector<uint8_t> ReadAsset(const std::string& name) {
  std::ifstream in(std::string(RAPIKO_ASSETS_DIR) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SoundAssets, HaveTheirFormatAndDataSize) {
  const struct {
    const char* file;
    uint32_t rate, bits, dataBytes;
  } sounds[] = {{"kyan.wav", 22050, 8, 5385},    {"shot.wav", 22050, 16, 5760},
                {"hit.wav", 11025, 8, 6207},     {"fueen.wav", 22050, 16, 96234},
                {"start.wav", 22050, 16, 16444}, {"end.wav", 22050, 8, 33856},
                {"type.wav", 22050, 8, 3697}};
  for (const auto& s : sounds) {
    const WaveInfo info = ReadWaveInfo(ReadAsset(s.file));
    // PCM, mono, rate, bits per sample, bytes a second, data size.
    EXPECT_EQ((std::vector<uint32_t>{info.formatTag, info.channels, info.samplesPerSecond,
                                     info.bitsPerSample, info.bytesPerSecond, info.dataBytes}),
              (std::vector<uint32_t>{1, 1, s.rate, s.bits, s.rate * s.bits / 8, s.dataBytes}))
        << s.file;
  }
  // Every byte of a field counts, though these sounds leave the high ones zero.
  const WaveInfo wide = ReadWaveInfo(test_files::MakeWav(0x12345678, 0x0108, 2));
  EXPECT_EQ(wide.samplesPerSecond, 0x12345678u);
  EXPECT_EQ(wide.bitsPerSample, 0x0108u);
}

}  // namespace
}  // namespace media
