// Reading the format and the length of a RIFF WAVE sound held in memory.
#include "media/wav.h"

#include <optional>
#include <string>

#include "media/platform.h"

namespace media {
namespace {

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool IsTag(const uint8_t* p, const char* tag) {
  return p[0] == tag[0] && p[1] == tag[1] && p[2] == tag[2] && p[3] == tag[3];
}

[[noreturn]] void Fail(const std::string& what) {
  throw PlatformError("damaged sound (" + what + ")");
}

}  // namespace

WaveInfo ReadWaveInfo(std::span<const uint8_t> bytes) {
  if (bytes.size() < 12 || !IsTag(bytes.data(), "RIFF") || !IsTag(bytes.data() + 8, "WAVE")) {
    Fail("not a RIFF WAVE file");
  }
  // The RIFF size may claim less or more than there is; trust the bytes we
  // have, but never read past the RIFF's own end when it is shorter.
  size_t end = bytes.size();
  const uint64_t riffEnd = 8 + static_cast<uint64_t>(Le32(bytes.data() + 4));
  if (riffEnd < end) end = static_cast<size_t>(riffEnd);

  WaveInfo info;
  bool haveFormat = false;
  std::optional<uint32_t> dataBytes;
  size_t pos = 12;
  while (pos + 8 <= end) {
    const uint8_t* chunk = bytes.data() + pos;
    const uint32_t size = Le32(chunk + 4);
    const size_t body = pos + 8;
    if (size > end - body) {
      Fail(std::string(reinterpret_cast<const char*>(chunk), 4) + " chunk runs past the end");
    }
    if (IsTag(chunk, "fmt ")) {
      if (size < 16) Fail("format chunk too short");
      const uint8_t* f = bytes.data() + body;
      info.formatTag = Le16(f);
      info.channels = Le16(f + 2);
      info.samplesPerSecond = Le32(f + 4);
      info.bytesPerSecond = Le32(f + 8);
      info.blockAlign = Le16(f + 12);
      info.bitsPerSample = Le16(f + 14);
      haveFormat = true;
    } else if (IsTag(chunk, "data") && !dataBytes) {
      dataBytes = size;
    }
    // Chunks are padded to an even size.
    const uint64_t next = static_cast<uint64_t>(body) + size + (size & 1u);
    if (next > end) break;
    pos = static_cast<size_t>(next);
  }
  if (!haveFormat) Fail("no format chunk");
  if (!dataBytes) Fail("no data chunk");
  if (info.channels == 0 || info.bytesPerSecond == 0 || info.blockAlign == 0) {
    Fail("format without channels or rate");
  }
  info.dataBytes = *dataBytes;
  return info;
}

}  // namespace media
