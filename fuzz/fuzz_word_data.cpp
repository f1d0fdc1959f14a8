// Fuzz target: on any bytes the word reader keeps the tables' invariants and reports in one line.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "state/game_state.h"
#include "typing/word_data.h"

namespace {

// The 37 characters a word may hold and the key codes they are stored as,
// written out here again so that the check does not trust the reader's table.
int CodeOf(char c) {
  static constexpr const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890-";
  static constexpr int kCodes[] = {30, 48, 46, 32, 18, 33, 34, 35, 23, 36, 37, 38, 50,
                                   49, 24, 25, 16, 19, 31, 20, 22, 47, 17, 45, 21, 44,
                                   2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12};
  for (int i = 0; i < 37; ++i) {
    if (kChars[i] == c) return kCodes[i];
  }
  return 0;
}

bool IsWordCode(int code) {
  for (char c : std::string_view("ABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890-")) {
    if (CodeOf(c) == code) return true;
  }
  return false;
}

[[noreturn]] void Broken(const char* what, long a, long b) {
  std::fprintf(stderr, "word tables broken: %s (%ld, %ld)\n", what, a, b);
  std::abort();
}

void Check(bool ok, const char* what, long a = 0, long b = 0) {
  if (!ok) Broken(what, a, b);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  state::GameState g;
  const typing::WordReport report =
      typing::LoadWordDataFromBytes(g, std::string(reinterpret_cast<const char*>(data), size));
  const std::string line = typing::DescribeWordReport(report, "f");
  Check(line.find('\n') == std::string::npos, "the report is more than one line");
  Check(report.words == g.wordCount, "the report miscounts the words", report.words, g.wordCount);

  const int words = g.wordCount;
  const int letters = g.letterCount;
  Check(words >= 0 && words <= 100, "wordCount out of range", words);
  Check(letters >= 0 && letters <= 1001, "letterCount out of range", letters);
  Check(g.wordStart[static_cast<size_t>(words) + 1] == letters, "no end marker after the last word",
        g.wordStart[static_cast<size_t>(words) + 1], letters);
  if (words > 0)
    Check(g.wordStart[1] == 0, "first word does not start at 0", g.wordStart[1]);
  else
    Check(letters == 0, "letters without words", letters);

  for (int i = 0; i < letters; ++i) {
    const int code = g.letterKeys[static_cast<size_t>(i)];
    Check(IsWordCode(code), "stored letter is not a word code", i, code);
  }

  for (int w = 1; w <= words; ++w) {
    const int begin = g.wordStart[static_cast<size_t>(w)];
    const int end = g.wordStart[static_cast<size_t>(w) + 1];
    Check(begin < end, "wordStart not ascending", w, begin);
    const std::string& text = g.words[static_cast<size_t>(w)];
    const int stored = end - begin;
    if (w < words || letters < 1001) {
      // A whole word: its text, letter for letter.
      Check(stored == static_cast<int>(text.size()), "letters do not match the text", w, stored);
      Check(stored >= 3, "word shorter than 3 letters", w, stored);
    } else {
      // The last word may be cut at the capacity limit, keeping at least 2.
      Check(stored >= 2 && stored <= static_cast<int>(text.size()), "bad cut word", w, stored);
    }
    for (int i = 0; i < stored; ++i) {
      Check(CodeOf(text[static_cast<size_t>(i)]) == g.letterKeys[static_cast<size_t>(begin + i)],
            "letter code differs from the word's text", w, i);
    }
  }
  return 0;
}
