// Name entry keys and putting a finished round's result into its ranking place.
#include "ranking/name_entry.h"

#include <array>
#include <cstddef>

#include "core/arith.h"

namespace ranking {
namespace {

constexpr std::size_t kBatchSize = 65;
constexpr std::size_t kMaxNameLength = 10;
constexpr std::size_t kPlaces = 10;

}  // namespace

int32_t ComputeRankKey(int16_t level, int16_t maxLevel, int32_t score) {
  // Widened, then held at the 32-bit limits: a level of 215 or more would
  // not fit, and a saturated key still ranks above every smaller result.
  const int64_t key = int64_t{level} * 10000000 + int64_t{score} + int64_t{maxLevel} * 100000;
  return core::Saturate32(key);
}

std::string ReadNameKeys(core::GameState& g, const std::string& name) {
  std::array<media::KeyEvent, kBatchSize> batch{};
  g.keyboard->GetDeviceData(batch);
  std::string text = name;
  for (const media::KeyEvent& e : batch) {
    if (e.keyCode == 0 || e.data != core::kKeyDown) continue;
    if (e.keyCode > 0 && e.keyCode < static_cast<int32_t>(g.keyChars.size())) {
      text += g.keyChars[static_cast<std::size_t>(e.keyCode)];
    }
    // Enter and Esc do not end the batch: later keys still edit the name.
    if (e.keyCode == core::kKeyEnter) g.entryDone = true;
    if (e.keyCode == core::kKeyEsc) g.quitRequested = true;
    if (e.keyCode == core::kKeyBackspace && !text.empty()) text.pop_back();
  }
  // Cut once per frame, so a key typed at the limit is dropped at its end.
  if (text.size() > kMaxNameLength) text.resize(kMaxNameLength);
  return text;
}

void InsertRanking(core::GameState& g, int32_t score) {
  const int32_t key = ComputeRankKey(g.level, g.maxLevel, score);
  for (std::size_t i = 0; i < kPlaces; ++i) {
    // Only a strictly lower key gives way, so ties go below the equal keys.
    if (g.rankKeys[i] >= key) continue;
    for (std::size_t j = kPlaces - 1; j > i; --j) {
      g.rankKeys[j] = g.rankKeys[j - 1];
      g.rankNames[j] = g.rankNames[j - 1];
    }
    g.rankKeys[i] = key;
    g.rankNames[i] = g.entryName;
    return;
  }
}

}  // namespace ranking
