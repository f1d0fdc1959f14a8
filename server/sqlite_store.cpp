// The rounds and names kept in one SQLite file: the default, nothing to install.
#include <sqlite3.h>

#include <mutex>

#include "server/migrations.h"
#include "server/store.h"

namespace server {
namespace {

class Statement {
 public:
  Statement(sqlite3* db, const char* sql) : db_(db) {
    if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) Fail();
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(int at, const std::string& text) {
    sqlite3_bind_text(stmt_, at, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    return *this;
  }
  Statement& Bind(int at, int64_t value) {
    sqlite3_bind_int64(stmt_, at, value);
    return *this;
  }
  // True while a row comes.
  bool Step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc != SQLITE_DONE) Fail();
    return false;
  }
  int64_t Int(int column) const { return sqlite3_column_int64(stmt_, column); }
  std::string Text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return text ? std::string(text, static_cast<size_t>(sqlite3_column_bytes(stmt_, column))) : "";
  }

 private:
  [[noreturn]] void Fail() { throw StoreError(std::string("SQLite: ") + sqlite3_errmsg(db_)); }
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

constexpr const char* kRoundColumns =
    "id, ticket, list, recording, recording_hash, score, level, max_level, rank_key, created_ms, "
    "COALESCE(name, ''), hidden, flagged, COALESCE(seed, -1), COALESCE(words, '')";

Round RoundOf(const Statement& s) {
  return Round{.id = s.Int(0),
               .ticket = s.Text(1),
               .list = s.Text(2),
               .recording = s.Text(3),
               .recordingHash = s.Text(4),
               .score = static_cast<int32_t>(s.Int(5)),
               .level = static_cast<int32_t>(s.Int(6)),
               .maxLevel = static_cast<int32_t>(s.Int(7)),
               .rankKey = static_cast<int32_t>(s.Int(8)),
               .createdMs = s.Int(9),
               .name = s.Text(10),
               .hidden = s.Int(11) != 0,
               .flagged = s.Int(12) != 0,
               .seed = s.Int(13),
               .words = s.Text(14)};
}

class SqliteStore : public Store {
 public:
  explicit SqliteStore(const std::string& path) {
    if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK) {
      const std::string why = db_ ? sqlite3_errmsg(db_) : "out of memory";
      sqlite3_close(db_);
      throw StoreError("cannot open " + path + ": " + why);
    }
    // Other processes (the admin command) may hold the file a moment.
    sqlite3_busy_timeout(db_, 10000);
    Exec("PRAGMA journal_mode = WAL");
    Exec("PRAGMA synchronous = FULL");
    Migrate();
  }
  ~SqliteStore() override { sqlite3_close(db_); }

  Round AddRound(const Round& r) override {
    std::lock_guard lock(mutex_);
    Statement insert(db_,
                     "INSERT INTO rounds (ticket, list, recording, recording_hash, score, level, "
                     "max_level, rank_key, created_ms, flagged, seed, words) "
                     "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) "
                     "ON CONFLICT (ticket) DO NOTHING");
    insert.Bind(1, r.ticket).Bind(2, r.list).Bind(3, r.recording).Bind(4, r.recordingHash);
    insert.Bind(5, r.score).Bind(6, r.level).Bind(7, r.maxLevel).Bind(8, r.rankKey);
    insert.Bind(9, r.createdMs).Bind(10, int64_t{r.flagged}).Bind(11, r.seed).Bind(12, r.words);
    insert.Step();
    Statement find(
        db_, (std::string("SELECT ") + kRoundColumns + " FROM rounds WHERE ticket = ?").c_str());
    find.Bind(1, r.ticket);
    if (!find.Step()) throw StoreError("a round stored is not found again");
    return RoundOf(find);
  }

  std::optional<Round> FindRound(int64_t id) override {
    std::lock_guard lock(mutex_);
    Statement find(db_,
                   (std::string("SELECT ") + kRoundColumns + " FROM rounds WHERE id = ?").c_str());
    find.Bind(1, id);
    if (!find.Step()) return std::nullopt;
    return RoundOf(find);
  }

  std::optional<Round> FindRoundOfTicket(const std::string& ticket) override {
    std::lock_guard lock(mutex_);
    Statement find(
        db_, (std::string("SELECT ") + kRoundColumns + " FROM rounds WHERE ticket = ?").c_str());
    find.Bind(1, ticket);
    if (!find.Step()) return std::nullopt;
    return RoundOf(find);
  }

  int64_t PlaceOf(const Round& r) override {
    std::lock_guard lock(mutex_);
    Statement count(
        db_,
        "SELECT COUNT(*) FROM rounds WHERE list = ? AND name IS NOT NULL AND hidden = 0 "
        "AND flagged = 0 "
        "AND id <> ? AND (rank_key > ? OR (rank_key = ? AND id < ?))");
    count.Bind(1, r.list).Bind(2, r.id).Bind(3, r.rankKey).Bind(4, r.rankKey).Bind(5, r.id);
    count.Step();
    return count.Int(0) + 1;
  }

  std::string HoldName(const std::string& name, const std::string& tokenHash,
                       int64_t nowMs) override {
    std::lock_guard lock(mutex_);
    Statement insert(db_,
                     "INSERT INTO names (name, token_hash, created_ms) VALUES (?, ?, ?) "
                     "ON CONFLICT (name) DO NOTHING");
    insert.Bind(1, name).Bind(2, tokenHash).Bind(3, nowMs).Step();
    return HolderLocked(name).value_or("");
  }

  std::optional<std::string> NameHolder(const std::string& name) override {
    std::lock_guard lock(mutex_);
    return HolderLocked(name);
  }

  bool NameRound(int64_t id, const std::string& name) override {
    std::lock_guard lock(mutex_);
    Statement update(db_, "UPDATE rounds SET name = ? WHERE id = ? AND name IS NULL");
    update.Bind(1, name).Bind(2, id).Step();
    return sqlite3_changes(db_) == 1;
  }

  void DeleteRound(int64_t id) override {
    std::lock_guard lock(mutex_);
    Statement(db_, "DELETE FROM rounds WHERE id = ?").Bind(1, id).Step();
  }

  std::vector<BoardEntry> Board(const std::string& list, int64_t sinceMs, int limit,
                                const std::string& viewerHash) override {
    std::lock_guard lock(mutex_);
    // A day's or a week's rounds are few beside all of them: found by when
    // they came, then ranked (SQLite would walk the whole ranking instead).
    const std::string sql =
        std::string("SELECT id, name, score, level, max_level, created_ms FROM rounds ") +
        (sinceMs > 0 ? "INDEXED BY rounds_recent " : "") +
        "WHERE list = ? AND name IS NOT NULL AND hidden = 0 AND created_ms >= ? "
        "AND (flagged = 0 OR name IN (SELECT name FROM names WHERE token_hash = ?)) "
        "ORDER BY rank_key DESC, id LIMIT ?";
    Statement select(db_, sql.c_str());
    select.Bind(1, list).Bind(2, sinceMs).Bind(3, viewerHash).Bind(4, limit);
    std::vector<BoardEntry> entries;
    while (select.Step()) {
      entries.push_back({.round = select.Int(0),
                         .name = select.Text(1),
                         .score = static_cast<int32_t>(select.Int(2)),
                         .level = static_cast<int32_t>(select.Int(3)),
                         .maxLevel = static_cast<int32_t>(select.Int(4)),
                         .createdMs = select.Int(5)});
    }
    return entries;
  }

  bool HideRound(int64_t id) override {
    std::lock_guard lock(mutex_);
    Statement(db_, "UPDATE rounds SET hidden = 1 WHERE id = ?").Bind(1, id).Step();
    return sqlite3_changes(db_) == 1;
  }

  bool ReleaseName(const std::string& name) override {
    std::lock_guard lock(mutex_);
    Statement(db_, "DELETE FROM names WHERE name = ?").Bind(1, name).Step();
    return sqlite3_changes(db_) == 1;
  }

  bool Healthy() override {
    std::lock_guard lock(mutex_);
    try {
      Statement(db_, "SELECT 1").Step();
      return true;
    } catch (const StoreError&) {
      return false;
    }
  }

 private:
  void Exec(const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
      const std::string why = error ? error : "failed";
      sqlite3_free(error);
      throw StoreError("SQLite: " + why);
    }
  }

  // Each migration newer than the database's version, in one transaction
  // that holds the file's write lock: servers started together apply each
  // once.
  void Migrate() {
    Exec("BEGIN IMMEDIATE");
    try {
      Exec("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)");
      int64_t version = 0;
      {
        Statement current(db_, "SELECT COALESCE(MAX(version), 0) FROM schema_version");
        current.Step();
        version = current.Int(0);
      }
      for (const auto& [file, sql] : SqliteMigrations()) {
        const int number = MigrationVersion(file);
        if (number <= version) continue;
        Exec(sql);
        Exec("INSERT INTO schema_version (version) VALUES (" + std::to_string(number) + ")");
      }
      Exec("COMMIT");
    } catch (const StoreError&) {
      Exec("ROLLBACK");
      throw;
    }
  }

  std::optional<std::string> HolderLocked(const std::string& name) {
    Statement find(db_, "SELECT token_hash FROM names WHERE name = ?");
    find.Bind(1, name);
    if (!find.Step()) return std::nullopt;
    return find.Text(0);
  }

  sqlite3* db_ = nullptr;
  std::mutex mutex_;
};

}  // namespace

std::unique_ptr<Store> OpenSqliteStore(const std::string& folder) {
  return std::make_unique<SqliteStore>(folder + "/rapiko.sqlite");
}

int MigrationVersion(const std::string& fileName) {
  return std::stoi(fileName.substr(0, fileName.find('_')));
}

}  // namespace server
