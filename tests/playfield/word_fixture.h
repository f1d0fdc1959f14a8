// Test helper: word tables filled the way the word data file leaves them.
#pragma once

#include <string>
#include <vector>

#include "core/game_state.h"

namespace playfield_test {

// A stand-in key code per character; only its being non-zero and distinct matters.
inline int16_t CodeOf(char c) { return static_cast<int16_t>(c - 'A' + 16); }

inline void LoadWords(core::GameState& g, const std::vector<std::string>& words) {
  int16_t letters = 0;
  int16_t w = 0;
  for (const std::string& word : words) {
    ++w;
    g.words[w] = word;
    g.wordStart[w] = letters;
    for (char c : word) g.letterKeys[letters++] = CodeOf(c);
  }
  g.wordCount = w;
  g.letterCount = letters;
  g.wordStart[w + 1] = letters;
}

}  // namespace playfield_test
