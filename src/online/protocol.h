// What the game sends to an online ranking's server and reads from its answers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "net/http.h"
#include "state/game_state.h"

namespace online {

// The paths of the requests, under the server's address.
constexpr const char* kTicketsPath = "api/v1/tickets";
constexpr const char* kRoundsPath = "api/v1/rounds";

// A list's board as the title shows it: its ten best named rounds of all time.
std::string BoardPath(const std::string& list);

// The name the server knows the game folder's own rapdata.ini by.
constexpr const char* kDefaultListName = "rapdata";

// A round's start as the server dealt it (replay::StartTicketRound plays it).
struct Ticket {
  std::string ticket;  // sent back with the round
  uint32_t seed = 0;
  std::string list;
  std::vector<std::string> words;
};

// A round the server replayed and placed.
struct Placed {
  int64_t id = 0;
  std::string list;
  int32_t score = 0;
  int32_t level = 0;
  std::optional<int64_t> place;
  std::string claim;  // names the round when its name is sent
};

// A name the server entered: the round's place on the board, and the token
// that holds the name when the server made a new one.
struct Named {
  std::optional<int64_t> place;
  std::string token;
};

std::string TicketRequest(const std::string& list);
std::string RoundRequest(const std::string& ticket, const std::string& recording, int32_t score,
                         int32_t level);
std::string NameRequest(const std::string& claim, const std::string& name,
                        const std::string& token);

// The answers, read; nothing when the body is not what the server sends.
std::optional<Ticket> ReadTicket(const std::string& body);
std::optional<Placed> ReadPlaced(const std::string& body);
std::optional<Named> ReadNamed(const std::string& body);
std::optional<std::vector<state::BoardEntry>> ReadBoard(const std::string& body);

// Why an exchange did not give what was asked, in one line: the refusal's
// own line (`{"error": ...}`), the lack of an answer, or an answer the game
// cannot read.
std::string ErrorOf(const net::Reply& reply);

// How a round fared online, as the line of a headless run prints it.
struct Outcome {
  int status = 0;  // of the last exchange that had an answer; 0: none had
  std::optional<int64_t> id;
  std::string list;
  std::optional<int32_t> score;
  std::optional<int32_t> level;
  std::optional<int64_t> place;
  std::string error;
};
// {"online": {"status", "id", "list", "score", "level", "place", "error"}},
// the members that do not apply left out.
std::string OutcomeLine(const Outcome& outcome);

// A list's board as the server gave it, or why it did not.
struct Board {
  int status = 0;
  std::string list;
  std::vector<state::BoardEntry> entries;
  std::string error;
};
// {"onlineBoard": {"status", "list", "entries": [{"place", "name", "score", "level"}], "error"}},
// the members that do not apply left out.
std::string BoardLine(const Board& board);

}  // namespace online
