// The word data file "rapdata.ini": the words whose letters fall.
#pragma once

#include <cstddef>
#include <string>

#include "state/game_state.h"
#include "typing/word_report.h"

namespace typing {

// The word file of the game folder.
inline constexpr const char* kWordFileName = "rapdata.ini";
// The folder of the game folder whose NAME.ini files are word lists to choose.
inline constexpr const char* kWordListsFolder = "words";
// Shorter items are dropped.
inline constexpr std::size_t kMinWordLength = 3;
// An item's length is a 16-bit count: a longer item ends the reading.
inline constexpr std::size_t kMaxItemLength = 32767;

// No word list comes near this; the reading stops there, as at a read error.
inline constexpr std::size_t kMaxWordFileBytes = std::size_t{16} << 20;

// Reads the word file at path into the word tables. A file that cannot be
// opened or read leaves what was read; the report says what was left out.
WordReport LoadWordData(state::GameState& g, const std::string& path);
// The same reading, from the file's bytes (for tests and fuzzing).
WordReport LoadWordDataFromBytes(state::GameState& g, const std::string& bytes);

}  // namespace typing
