// Fuzz target: the ranking reader on any bytes, and the round trip of whatever it read.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ranking/ranking_file.h"
#include "state/game_state.h"

namespace {

// A name the file format can carry: it is written between double quotes on
// one line.
bool Writable(const std::string& name) { return name.find_first_of("\"\r\n") == std::string::npos; }

[[noreturn]] void Broken(const char* what, int place) {
  std::fprintf(stderr, "ranking round trip broken: %s (place %d)\n", what, place);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  state::GameState g;
  ranking::LoadRankingFromBytes(g, std::string(reinterpret_cast<const char*>(data), size));

  bool writable = Writable(g.entryName);
  for (const std::string& name : g.rankNames) writable = writable && Writable(name);
  const std::string bytes = ranking::RankingFileBytes(g);
  if (!writable) return 0;

  state::GameState back;
  ranking::LoadRankingFromBytes(back, bytes);
  if (back.entryName != g.entryName) Broken("entryName differs", -1);
  for (int place = 0; place < 10; ++place) {
    const size_t p = static_cast<size_t>(place);
    if (back.rankNames[p] != g.rankNames[p]) Broken("name differs", place);
    if (back.rankKeys[p] != g.rankKeys[p]) Broken("key differs", place);
  }
  // What the game writes, it reads back to the very same bytes.
  if (ranking::RankingFileBytes(back) != bytes) Broken("file bytes differ", -1);
  return 0;
}
