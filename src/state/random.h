// The game's one random number generator: fixed algorithm, same on every machine.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace state {

// xoshiro256** seeded through splitmix64; doubles carry the top 53 bits.
class Random {
 public:
  void Seed(uint64_t seed) {
    uint64_t x = seed;
    for (uint64_t& word : s_) {
      x += 0x9E3779B97F4A7C15ULL;
      uint64_t z = x;
      z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
      z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
      word = z ^ (z >> 31);
    }
  }

  // Uniform in [0, 1).
  double NextDouble() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }

  // The whole state, to go on later from where it is now (a round replayed
  // from its start).
  std::array<uint64_t, 4> State() const { return {s_[0], s_[1], s_[2], s_[3]}; }
  void SetState(const std::array<uint64_t, 4>& state) {
    for (std::size_t i = 0; i < 4; ++i) s_[i] = state[i];
  }

 private:
  static uint64_t Rotl(uint64_t v, int k) { return (v << k) | (v >> (64 - k)); }
  uint64_t Next() {
    const uint64_t result = Rotl(s_[1] * 5, 7) * 9;
    const uint64_t t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = Rotl(s_[3], 45);
    return result;
  }

  uint64_t s_[4] = {0x9E3779B97F4A7C15ULL, 0xBF58476D1CE4E5B9ULL, 0x94D049BB133111EBULL, 1};
};

}  // namespace state
