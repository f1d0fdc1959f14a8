// Reading the format and the length of a RIFF WAVE sound held in memory.
#pragma once

#include <cstdint>
#include <span>

namespace media {

struct WaveInfo {
  uint16_t formatTag = 0;
  uint16_t channels = 0;
  uint32_t samplesPerSecond = 0;
  uint32_t bytesPerSecond = 0;
  uint16_t blockAlign = 0;
  uint16_t bitsPerSample = 0;
  uint32_t dataBytes = 0;  // size of the sound data (the data chunk)
};

// The format chunk and the data chunk's size of a WAVE file. Chunks of other
// kinds are skipped. Throws PlatformError saying what is wrong ("no data
// chunk", ...) when the bytes are not a usable WAVE file.
WaveInfo ReadWaveInfo(std::span<const uint8_t> bytes);

}  // namespace media
