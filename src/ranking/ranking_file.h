// The ranking file "rapikosc.ini": its bytes, and reading it, damaged or not.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "state/game_state.h"

namespace ranking {

constexpr const char* kRankingFileName = "rapikosc.ini";
// A larger ranking file is damaged: the game never writes one near this size.
constexpr std::size_t kMaxRankingFileBytes = 64 * 1024;
// Names read from the file are cut to this many bytes (the game types at most
// 10); the title screen draws every name in every frame.
constexpr std::size_t kMaxStoredNameLength = 64;

// The 21 values the file holds.
struct RankingValues {
  std::string entryName;
  std::array<std::string, state::kRankPlaces> rankNames{};
  std::array<int32_t, state::kRankPlaces> rankKeys{};
};

RankingValues ValuesOf(const state::GameState& g);
void PutValues(state::GameState& g, const RankingValues& values);
// The file's exact bytes for these values.
std::string RankingFileBytes(const RankingValues& values);
std::string RankingFileBytes(const state::GameState& g);

// Each word list has its ranking: the game folder's rapdata.ini keeps
// rapikosc.ini, every other list a file of rankings/ beside it (the same
// format). A list played by its name ranks in rankings/NAME.ini; a list
// played from a file by its path in rankings/NAME~ID.ini, ID naming that
// path (ListId), so that two files of one name rank apart. A name is cut to
// kMaxRankingStemBytes there, with a hash of the whole name in place of an
// ID for a long list name, so that every name (and its temporary's) stays
// well within what file systems allow.
constexpr const char* kRankingsFolder = "rankings";
constexpr std::size_t kMaxRankingStemBytes = 64;
// Sixteen hex digits naming text: FNV-1a, the same on every system.
std::string ListId(std::string_view text);
// The path of the ranking of the list listName (empty: the game folder's
// own list), listId as Choices::listId, in the game folder myPath.
std::string RankingPath(const std::string& myPath, const std::string& listName,
                        const std::string& listId);
// The file that ranking is read from: its own once it is there; before that
// the one a list of its name kept before lists were told apart by their
// path and their names were bounded (rankings/NAME.ini), when there is one,
// so that an upgrade orphans no result. Saves always go to RankingPath.
std::string RankingPathToRead(const std::string& myPath, const std::string& listName,
                              const std::string& listId);

// The ranking file as found on disk.
struct RankingFile {
  enum class Status { kAbsent, kRead, kUnreadable };
  Status status = Status::kAbsent;
  // The values read; those the reading did not reach keep the start values.
  RankingValues values;
  // Why the file is damaged ("line 7: ..."): its reading stopped short of
  // the 21 values, a name was cut, or it is too large. Empty when whole.
  std::string damage;
  std::string problem;  // why it cannot be read (kUnreadable)
  uint32_t mode = 0;    // its permission bits (kRead)
};

// Reads the file at path over the given start values. Never blocks, never
// reads more than kMaxRankingFileBytes.
RankingFile ReadRankingFile(const std::string& path, const RankingValues& start);

// Reads the ranking of the list in play (g.choices.listName) into g.
// Returns one line for the player when the file exists but cannot be read,
// or is damaged; else "".
std::string LoadRanking(state::GameState& g, const std::string& myPath);
// Reads the file's bytes over the ranking in g; returns why they are damaged,
// or "" when they are whole.
std::string LoadRankingFromBytes(state::GameState& g, const std::string& bytes);

}  // namespace ranking
