// Tests of reading a WAVE sound's format and length, and of each way it can be damaged.
#include "media/wav.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/test_files.h"

namespace media {
namespace {

TEST(ReadWaveInfo, EveryByteOfAFieldCounts) {
  const WaveInfo wide = ReadWaveInfo(test_files::MakeWav(0x12345678, 0x0108, 2));
  EXPECT_EQ(wide.samplesPerSecond, 0x12345678u);
  EXPECT_EQ(wide.bitsPerSample, 0x0108u);
  EXPECT_EQ(wide.blockAlign, 0x21u);
}

// Offsets in test_files::MakeWav's file: the RIFF size, the format chunk's size and fields, the
// data chunk's size.
constexpr size_t kRiffSize = 4, kFormatSize = 16, kChannels = 22, kBytesPerSecond = 28,
                 kBlockAlign = 32, kDataSize = 40;

void Set(std::vector<uint8_t>& bytes, size_t at, uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

TEST(ReadWaveInfo, ChunksAreFoundWhereverTheyLieAndEachDamageIsNamed) {
  using Bytes = std::vector<uint8_t>;
  // Puts a chunk in at `at` (padded when odd), the RIFF grown to hold it.
  const auto insert = [](Bytes& b, size_t at, const char* tag, Bytes body) {
    Bytes c(tag, tag + 4);
    test_files::Put(c, static_cast<uint32_t>(body.size()), 4);
    c.insert(c.end(), body.begin(), body.end());
    if (body.size() % 2) c.push_back(0);
    b.insert(b.begin() + static_cast<ptrdiff_t>(at), c.begin(), c.end());
    Set(b, kRiffSize, static_cast<uint32_t>(b.size() - 8), 4);
  };
  const struct {
    const char* what;
    std::function<void(Bytes&)> change;
    std::string error;  // empty: read, with 10 bytes of data
  } cases[] = {
      {"whole", [](Bytes&) {}, ""},
      {"bytes after the RIFF", [](Bytes& b) { b.insert(b.end(), 6, 0); }, ""},
      {"a RIFF size past the end", [](Bytes& b) { Set(b, kRiffSize, 1000, 4); }, ""},
      {"an odd chunk before the data, padded",
       [&](Bytes& b) {
         insert(b, 36, "LIST", {1, 2, 3});
       },
       ""},
      {"a second data chunk", [&](Bytes& b) { insert(b, b.size(), "data", Bytes(4)); }, ""},
      {"11 bytes", [](Bytes& b) { b.resize(11); }, "not a RIFF WAVE file"},
      {"not RIFF", [](Bytes& b) { b[3] = 'X'; }, "not a RIFF WAVE file"},
      {"not WAVE", [](Bytes& b) { b[11] = 'X'; }, "not a RIFF WAVE file"},
      {"no chunks", [](Bytes& b) { b.resize(12); }, "no format chunk"},
      {"a format chunk of 15 bytes", [](Bytes& b) { Set(b, kFormatSize, 15, 4); },
       "format chunk too short"},
      {"no data chunk", [](Bytes& b) { b.resize(36); }, "no data chunk"},
      {"data past the end", [](Bytes& b) { Set(b, kDataSize, 11, 4); },
       "data chunk runs past the end"},
      {"a RIFF ending before the data's end", [](Bytes& b) { Set(b, kRiffSize, 36 + 9, 4); },
       "data chunk runs past the end"},
      {"no channels", [](Bytes& b) { Set(b, kChannels, 0, 2); }, "format without channels or rate"},
      {"no rate", [](Bytes& b) { Set(b, kBytesPerSecond, 0, 4); },
       "format without channels or rate"},
      {"no block size", [](Bytes& b) { Set(b, kBlockAlign, 0, 2); },
       "format without channels or rate"},
  };
  for (const auto& c : cases) {
    Bytes bytes = test_files::MakeWav(8000, 8, 10);
    c.change(bytes);
    const std::string error = test_files::ErrorOf([&] {
      const WaveInfo info = ReadWaveInfo(bytes);
      EXPECT_EQ(info.dataBytes, 10u) << c.what;
      EXPECT_EQ(info.channels, 1u) << c.what;
      EXPECT_EQ(info.bytesPerSecond, 8000u) << c.what;
    });
    EXPECT_EQ(error, c.error.empty() ? "no error" : "damaged sound (" + c.error + ")") << c.what;
  }
  // A data chunk that ends the file exactly, even an empty one, is all there.
  EXPECT_EQ(ReadWaveInfo(test_files::MakeWav(8000, 8, 0)).dataBytes, 0u);
}

}  // namespace
}  // namespace media
