// Where the server keeps rounds and names: one interface, SQLite or PostgreSQL.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace server {

// A database that failed: the request is answered 500, nothing half-done.
class StoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Round {
  int64_t id = 0;
  std::string ticket;  // the ticket's id: spent once
  std::string list;
  std::string recording;
  std::string recordingHash;
  int32_t score = 0;
  int32_t level = 0;
  int32_t maxLevel = 0;
  int32_t rankKey = 0;
  int64_t createdMs = 0;
  std::string name;  // empty: no name yet, on no board
  bool hidden = false;
  bool flagged = false;  // typed faster than a person: shown only to its player
  // Its start, for a watcher: the ticket's seed and the words played, one a line
  // (replay::TicketWordText); -1 and empty for a round kept before they were.
  int64_t seed = -1;
  std::string words;
};

struct BoardEntry {
  int64_t round = 0;
  std::string name;
  int32_t score = 0;
  int32_t level = 0;
  int32_t maxLevel = 0;
  int64_t createdMs = 0;
};

class Store {
 public:
  virtual ~Store() = default;
  // Adds the round unless its ticket was spent; either way returns the round
  // stored under the ticket.
  virtual Round AddRound(const Round& round) = 0;
  virtual std::optional<Round> FindRound(int64_t id) = 0;
  virtual std::optional<Round> FindRoundOfTicket(const std::string& ticket) = 0;
  // The place round would take on its list's all-time board: 1 + the named
  // rounds shown to everyone that rank above it (a greater key, or an equal
  // key sent earlier).
  virtual int64_t PlaceOf(const Round& round) = 0;
  // The hash of the token that holds name; holds it by tokenHash when no
  // token does yet.
  virtual std::string HoldName(const std::string& name, const std::string& tokenHash,
                               int64_t nowMs) = 0;
  // The hash of the token that holds name, if any.
  virtual std::optional<std::string> NameHolder(const std::string& name) = 0;
  // Names a round that has no name yet; false when it has one.
  virtual bool NameRound(int64_t id, const std::string& name) = 0;
  virtual void DeleteRound(int64_t id) = 0;
  // The named rounds shown of list made since sinceMs, best first; flagged
  // rounds only to the player whose token has viewerHash (empty: nobody).
  virtual std::vector<BoardEntry> Board(const std::string& list, int64_t sinceMs, int limit,
                                        const std::string& viewerHash) = 0;
  // What an operator does against abuse: a round off the boards, a name
  // held by no token (its next player holds it). False when there is none.
  virtual bool HideRound(int64_t id) = 0;
  virtual bool ReleaseName(const std::string& name) = 0;
  virtual bool Healthy() = 0;
};

// The SQLite database rapiko.sqlite in folder (made when missing), brought
// to the newest schema.
std::unique_ptr<Store> OpenSqliteStore(const std::string& folder);
// The PostgreSQL database at url (postgresql://...), brought to the newest
// schema under a lock that servers started together share.
std::unique_ptr<Store> OpenPostgresqlStore(const std::string& url);

}  // namespace server
