// What reading the word file left out, and the one line that tells the player.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace typing {

enum class WordProblem {
  kBadCharacter,  // dropped: a character outside A-Z, 0-9 and -
  kTooShort,      // dropped: fewer than 3 characters
  kWordLimit,     // reading ended: 100 words loaded
  kLetterLimit,   // reading ended: the letter table is full
  kWordCut,       // reading ended: this word was cut at the end of the letter table
  kItemTooLong,   // reading ended: an item longer than its count can hold
  kReadFailed,    // reading ended: the file could not be read further
};

struct WordNote {
  WordProblem problem = WordProblem::kBadCharacter;
  int line = 0;      // the line where the item starts, from 1
  std::string item;  // the item as read (empty where there is none)
};

// A word loaded with its accented letters folded to plain ones.
struct FoldNote {
  int line = 0;      // the line where the item starts, from 1
  std::string item;  // the item as read
  std::string word;  // the word it became
};

// Filled by the reader; the game goes on whatever it says.
struct WordReport {
  bool opened = true;                  // false: the file could not be opened
  std::string failure;                 // why opening or reading failed, in a few words
  bool empty = false;                  // the file holds no text at all
  int words = 0;                       // words loaded
  int dropped = 0;                     // items left out
  std::vector<WordNote> firstDropped;  // the first few of them, in file order
  std::optional<WordNote> stopped;     // why the reading ended before the file did
  int folded = 0;                      // words loaded with accented letters folded
  std::vector<FoldNote> firstFolded;   // the first few of them, in file order

  static constexpr std::size_t kShownDrops = 3;
  void Drop(WordProblem problem, int line, std::string_view item);
  void Fold(int line, std::string_view item, const std::string& word);
};

// One line naming file, saying which words were folded and what was left
// out and why; empty when every item of the file was loaded as it was.
std::string DescribeWordReport(const WordReport& report, const std::string& file);

// Why a reading loaded no word, in a few words ("the file is empty",
// "cannot open it: ...", the items dropped, ...).
std::string WhyNoWords(const WordReport& report);

}  // namespace typing
