// The rounds and names kept in PostgreSQL: several servers behind a load balancer.
#include <libpq-fe.h>

#include <mutex>

#include "server/migrations.h"
#include "server/store.h"

namespace server {
namespace {

// Taken while migrating: one server at a time brings the schema up.
constexpr const char* kMigrationLock = "727274231";

class Result {
 public:
  explicit Result(PGresult* r) : r_(r) {}
  ~Result() { PQclear(r_); }
  Result(const Result&) = delete;
  Result& operator=(const Result&) = delete;
  int Rows() const { return PQntuples(r_); }
  std::string Text(int row, int column) const { return PQgetvalue(r_, row, column); }
  int64_t Int(int row, int column) const { return std::stoll(Text(row, column)); }
  bool Null(int row, int column) const { return PQgetisnull(r_, row, column) != 0; }
  int64_t Changed() const { return std::stoll(PQcmdTuples(r_)); }

 private:
  PGresult* r_;
};

constexpr const char* kRoundColumns =
    "id, ticket, list, recording, recording_hash, score, level, max_level, rank_key, created_ms, "
    "COALESCE(name, ''), hidden, flagged, COALESCE(seed, -1), COALESCE(words, '')";

Round RoundOf(const Result& r) {
  return Round{.id = r.Int(0, 0),
               .ticket = r.Text(0, 1),
               .list = r.Text(0, 2),
               .recording = r.Text(0, 3),
               .recordingHash = r.Text(0, 4),
               .score = static_cast<int32_t>(r.Int(0, 5)),
               .level = static_cast<int32_t>(r.Int(0, 6)),
               .maxLevel = static_cast<int32_t>(r.Int(0, 7)),
               .rankKey = static_cast<int32_t>(r.Int(0, 8)),
               .createdMs = r.Int(0, 9),
               .name = r.Text(0, 10),
               .hidden = r.Int(0, 11) != 0,
               .flagged = r.Int(0, 12) != 0,
               .seed = r.Int(0, 13),
               .words = r.Text(0, 14)};
}

class PostgresqlStore : public Store {
 public:
  explicit PostgresqlStore(const std::string& url) : conn_(PQconnectdb(url.c_str())) {
    if (PQstatus(conn_) != CONNECTION_OK) {
      const std::string why = PQerrorMessage(conn_);
      PQfinish(conn_);
      throw StoreError("cannot connect to the database: " + FirstLine(why));
    }
    // Notices ("already exists, skipping") are no news for the operator.
    PQsetNoticeProcessor(
        conn_, [](void*, const char*) {}, nullptr);
    Migrate();
  }
  ~PostgresqlStore() override { PQfinish(conn_); }

  Round AddRound(const Round& r) override {
    std::lock_guard lock(mutex_);
    Run("INSERT INTO rounds (ticket, list, recording, recording_hash, score, level, max_level, "
        "rank_key, created_ms, flagged, seed, words) "
        "VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9, $10, $11, $12) "
        "ON CONFLICT (ticket) DO NOTHING",
        {r.ticket, r.list, r.recording, r.recordingHash, std::to_string(r.score),
         std::to_string(r.level), std::to_string(r.maxLevel), std::to_string(r.rankKey),
         std::to_string(r.createdMs), r.flagged ? "1" : "0", std::to_string(r.seed), r.words});
    const Result found =
        Run(std::string("SELECT ") + kRoundColumns + " FROM rounds WHERE ticket = $1", {r.ticket});
    if (found.Rows() != 1) throw StoreError("a round stored is not found again");
    return RoundOf(found);
  }

  std::optional<Round> FindRound(int64_t id) override {
    std::lock_guard lock(mutex_);
    const Result found = Run(std::string("SELECT ") + kRoundColumns + " FROM rounds WHERE id = $1",
                             {std::to_string(id)});
    if (found.Rows() != 1) return std::nullopt;
    return RoundOf(found);
  }

  std::optional<Round> FindRoundOfTicket(const std::string& ticket) override {
    std::lock_guard lock(mutex_);
    const Result found =
        Run(std::string("SELECT ") + kRoundColumns + " FROM rounds WHERE ticket = $1", {ticket});
    if (found.Rows() != 1) return std::nullopt;
    return RoundOf(found);
  }

  int64_t PlaceOf(const Round& r) override {
    std::lock_guard lock(mutex_);
    const std::string key = std::to_string(r.rankKey);
    const Result count =
        Run("SELECT COUNT(*) FROM rounds WHERE list = $1 AND name IS NOT NULL AND hidden = 0 "
            "AND flagged = 0 "
            "AND id <> $2 AND (rank_key > $3 OR (rank_key = $3 AND id < $2))",
            {r.list, std::to_string(r.id), key});
    return count.Int(0, 0) + 1;
  }

  std::string HoldName(const std::string& name, const std::string& tokenHash,
                       int64_t nowMs) override {
    std::lock_guard lock(mutex_);
    Run("INSERT INTO names (name, token_hash, created_ms) VALUES ($1, $2, $3) "
        "ON CONFLICT (name) DO NOTHING",
        {name, tokenHash, std::to_string(nowMs)});
    return HolderLocked(name).value_or("");
  }

  std::optional<std::string> NameHolder(const std::string& name) override {
    std::lock_guard lock(mutex_);
    return HolderLocked(name);
  }

  bool NameRound(int64_t id, const std::string& name) override {
    std::lock_guard lock(mutex_);
    return Run("UPDATE rounds SET name = $1 WHERE id = $2 AND name IS NULL",
               {name, std::to_string(id)})
               .Changed() == 1;
  }

  void DeleteRound(int64_t id) override {
    std::lock_guard lock(mutex_);
    Run("DELETE FROM rounds WHERE id = $1", {std::to_string(id)});
  }

  std::vector<BoardEntry> Board(const std::string& list, int64_t sinceMs, int limit,
                                const std::string& viewerHash) override {
    std::lock_guard lock(mutex_);
    // A day's or a week's rounds are few beside all of them: found by when
    // they came (rounds_recent), then ranked, rather than the whole ranking
    // walked for them.
    const std::string shown =
        "SELECT id, name, score, level, max_level, created_ms, rank_key FROM rounds "
        "WHERE list = $1 AND name IS NOT NULL AND hidden = 0 AND created_ms >= $2 "
        "AND (flagged = 0 OR name IN (SELECT name FROM names WHERE token_hash = $4))";
    const Result rows = Run(
        (sinceMs > 0 ? "WITH recent AS MATERIALIZED (" + shown + ") SELECT * FROM recent" : shown) +
            " ORDER BY rank_key DESC, id LIMIT $3",
        {list, std::to_string(sinceMs), std::to_string(limit), viewerHash});
    std::vector<BoardEntry> entries;
    for (int i = 0; i < rows.Rows(); ++i) {
      entries.push_back({.round = rows.Int(i, 0),
                         .name = rows.Text(i, 1),
                         .score = static_cast<int32_t>(rows.Int(i, 2)),
                         .level = static_cast<int32_t>(rows.Int(i, 3)),
                         .maxLevel = static_cast<int32_t>(rows.Int(i, 4)),
                         .createdMs = rows.Int(i, 5)});
    }
    return entries;
  }

  bool HideRound(int64_t id) override {
    std::lock_guard lock(mutex_);
    return Run("UPDATE rounds SET hidden = 1 WHERE id = $1", {std::to_string(id)}).Changed() == 1;
  }

  bool ReleaseName(const std::string& name) override {
    std::lock_guard lock(mutex_);
    return Run("DELETE FROM names WHERE name = $1", {name}).Changed() == 1;
  }

  bool Healthy() override {
    std::lock_guard lock(mutex_);
    try {
      Run("SELECT 1", {});
      return true;
    } catch (const StoreError&) {
      return false;
    }
  }

 private:
  static std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

  // One statement; a connection lost since the last one is made again once.
  Result Run(const std::string& sql, const std::vector<std::string>& params) {
    std::vector<const char*> values;
    for (const std::string& p : params) values.push_back(p.c_str());
    for (int attempt = 0;; ++attempt) {
      PGresult* r = PQexecParams(conn_, sql.c_str(), static_cast<int>(values.size()), nullptr,
                                 values.data(), nullptr, nullptr, 0);
      const ExecStatusType status = PQresultStatus(r);
      if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) return Result(r);
      PQclear(r);
      if (attempt == 0 && PQstatus(conn_) == CONNECTION_BAD) {
        PQreset(conn_);
        continue;
      }
      throw StoreError("PostgreSQL: " + FirstLine(PQerrorMessage(conn_)));
    }
  }

  // Each migration newer than the database's version, each in a transaction,
  // under an advisory lock that servers started together wait on.
  void Migrate() {
    Run(std::string("SELECT pg_advisory_lock(") + kMigrationLock + ")", {});
    try {
      Run("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)", {});
      const int64_t version =
          Run("SELECT COALESCE(MAX(version), 0) FROM schema_version", {}).Int(0, 0);
      for (const auto& [file, sql] : PostgresqlMigrations()) {
        const int number = MigrationVersion(file);
        if (number <= version) continue;
        Run("BEGIN", {});
        try {
          Result(PQexec(conn_, sql.c_str()));  // several statements: no parameters
          if (PQtransactionStatus(conn_) == PQTRANS_INERROR) {
            throw StoreError("PostgreSQL: migration " + file + ": " +
                             FirstLine(PQerrorMessage(conn_)));
          }
          Run("INSERT INTO schema_version (version) VALUES ($1)", {std::to_string(number)});
          Run("COMMIT", {});
        } catch (const StoreError&) {
          Run("ROLLBACK", {});
          throw;
        }
      }
    } catch (const StoreError&) {
      Run(std::string("SELECT pg_advisory_unlock(") + kMigrationLock + ")", {});
      throw;
    }
    Run(std::string("SELECT pg_advisory_unlock(") + kMigrationLock + ")", {});
  }

  std::optional<std::string> HolderLocked(const std::string& name) {
    const Result found = Run("SELECT token_hash FROM names WHERE name = $1", {name});
    if (found.Rows() != 1) return std::nullopt;
    return found.Text(0, 0);
  }

  PGconn* conn_;
  std::mutex mutex_;
};

}  // namespace

std::unique_ptr<Store> OpenPostgresqlStore(const std::string& url) {
  return std::make_unique<PostgresqlStore>(url);
}

}  // namespace server
