// A round of an online board fetched to be watched: its start and recording, as a kept round.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace online {

// A board's round is fetched in two answers, each waited for this long at most.
constexpr int kWatchTimeoutMs = 5000;

// A round asked for to be watched, and what came of it.
struct Watched {
  int64_t round = 0;  // its number on the server
  int status = 0;     // of the last exchange that had an answer; 0: none had
  // The round in the form of a kept best round's text, so that it is shown as one is; empty
  // when it did not come.
  std::string text;
  std::string error;  // one line, when it did not come
  // The result of the round played from text (a headless run plays it).
  std::optional<int32_t> score;
  std::optional<int32_t> level;
};

// Asks the server at url for the round's start and recording, and waits for both.
Watched FetchWatched(const std::string& url, int64_t round);

// The text of a kept round that plays the round with this start and recording (the server's):
// the recording's format line, the words as its word file, its list, the start the ticket gave
// as its resume note, then the recording's passes (none of its own notes).
std::string WatchedText(const std::string& list, uint32_t seed, const std::string& words,
                        const std::string& recording);

// {"watched": {"status", "round", "score", "level", "error"}}, the members that do not apply
// left out.
std::string WatchedLine(const Watched& watched);

}  // namespace online
