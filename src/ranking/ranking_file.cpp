// Reading and safely writing "rapikosc.ini": the last typed name and the ten ranking places.
#include "ranking/ranking_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string_view>

#include "media/files.h"

namespace ranking {
namespace {

constexpr const char* kFileName = "rapikosc.ini";
constexpr std::size_t kPlaces = state::kRankPlaces;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// Reads comma- and line-separated values the way sequential text input does.
class ValueReader {
 public:
  // complete is false when a failed read cut the bytes short: a value that
  // runs into their end is then not trusted.
  ValueReader(std::string_view bytes, bool complete) : bytes_(bytes), complete_(complete) {}

  // The next value, or nothing at the end of the data.
  std::optional<std::string> Next() {
    while (!AtEnd() && IsBlank(bytes_[pos_])) ++pos_;
    if (AtEnd()) return std::nullopt;
    std::size_t start = pos_;
    std::size_t end = pos_;
    if (!AtEnd() && bytes_[pos_] == '"') {
      // A quoted value stops at its closing quote, or at the line end when
      // the quote is never closed, so one bad line cannot swallow the rest.
      start = ++pos_;
      while (!AtEnd() && bytes_[pos_] != '"' && !IsLineEnd(bytes_[pos_])) ++pos_;
      end = pos_;
      if (!AtEnd() && bytes_[pos_] == '"') {
        ++pos_;
        SkipToSeparator();
      }
    } else {
      SkipToSeparator();
      end = pos_;
      while (end > start && IsBlank(bytes_[end - 1])) --end;
    }
    if (AtEnd() && !complete_) return std::nullopt;
    ConsumeSeparator();
    return std::string(bytes_.substr(start, end - start));
  }

 private:
  bool AtEnd() const { return pos_ >= bytes_.size(); }

  void SkipToSeparator() {
    while (!AtEnd() && bytes_[pos_] != ',' && !IsLineEnd(bytes_[pos_])) ++pos_;
  }

  void ConsumeSeparator() {
    if (AtEnd()) return;
    const char c = bytes_[pos_++];
    if (c == '\r' && !AtEnd() && bytes_[pos_] == '\n') ++pos_;
  }

  std::string_view bytes_;
  bool complete_;
  std::size_t pos_ = 0;
};

// Decimal text, blanks around it and one sign allowed, to a 32-bit key.
// Anything else, fractions and exponents included, is not a key.
std::optional<int32_t> ParseKey(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  const int64_t limit = negative ? int64_t{2147483648} : int64_t{2147483647};
  int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > limit) return std::nullopt;  // also keeps value far from overflow
  }
  return static_cast<int32_t>(negative ? -value : value);
}

void ReadRanking(state::GameState& g, std::string_view bytes, bool complete) {
  ValueReader reader(bytes, complete);
  // The first failure ends the reading; what was read before it stays.
  std::optional<std::string> value = reader.Next();
  if (!value) return;
  g.entryName = std::move(*value);
  for (std::size_t place = 0; place < kPlaces; ++place) {
    value = reader.Next();
    if (!value) return;
    g.rankNames[place] = std::move(*value);
    value = reader.Next();
    if (!value) return;
    const std::optional<int32_t> key = ParseKey(*value);
    if (!key) return;
    g.rankKeys[place] = *key;
  }
}

std::string FilePath(const std::string& myPath) { return myPath + kFileName; }

[[noreturn]] void Fail(const std::string& path, int error) {
  throw SaveError("cannot write the ranking file " + path + ": " + std::strerror(error));
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {
      errno = ENOSPC;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Makes the rename itself durable. A file system that cannot sync a folder
// says EINVAL; the new file is in place there all the same.
void SyncFolder(const std::string& myPath, const std::string& path) {
  const std::string folder = myPath.empty() ? std::string(".") : myPath;
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) Fail(path, errno);
  if (::fsync(fd) != 0 && errno != EINVAL) {
    const int error = errno;
    ::close(fd);
    Fail(path, error);
  }
  ::close(fd);
}

}  // namespace

void LoadRankingFromBytes(state::GameState& g, const std::string& bytes) {
  ReadRanking(g, bytes, true);
}

void LoadRanking(state::GameState& g, const std::string& myPath) {
  const media::FileRead file = media::ReadWholeFile(FilePath(myPath));
  if (!file.opened) return;  // no file: the ranking stays as it is
  ReadRanking(g, file.bytes, file.complete);
}

std::string RankingFileBytes(const state::GameState& g) {
  std::string out;
  const auto quoted = [&out](const std::string& text) { out += '"' + text + "\"\r\n"; };
  quoted(g.entryName);
  for (std::size_t place = 0; place < kPlaces; ++place) {
    quoted(g.rankNames[place]);
    out += std::to_string(g.rankKeys[place]) + "\r\n";
  }
  return out;
}

namespace {

// A game killed while saving leaves its temporary file behind; the next save
// removes those whose process is gone.
void RemoveStaleTemporaries(const std::string& myPath) {
  DIR* dir = ::opendir(myPath.c_str());
  if (!dir) return;
  const std::string prefix = "rapikosc.ini.tmp-";
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.rfind(prefix, 0) != 0) continue;
    const std::string digits = name.substr(prefix.size());
    if (digits.empty() || digits.size() > 9 ||
        digits.find_first_not_of("0123456789") != std::string::npos) {
      continue;
    }
    const pid_t pid = static_cast<pid_t>(std::stol(digits));
    if (pid != ::getpid() && ::kill(pid, 0) != 0 && errno == ESRCH) {
      ::unlink((myPath + name).c_str());
    }
  }
  ::closedir(dir);
}

}  // namespace

void SaveRanking(const state::GameState& g, const std::string& myPath) {
  const std::string path = FilePath(myPath);
  const std::string temp = path + ".tmp-" + std::to_string(::getpid());
  const std::string bytes = RankingFileBytes(g);

  // The old file is replaced only by a complete, synced new one.
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) Fail(path, errno);
  if (!WriteAll(fd, bytes) || ::fsync(fd) != 0) {
    const int error = errno;
    ::close(fd);
    ::unlink(temp.c_str());
    Fail(path, error);
  }
  if (::close(fd) != 0 || ::rename(temp.c_str(), path.c_str()) != 0) {
    const int error = errno;
    ::unlink(temp.c_str());
    Fail(path, error);
  }
  SyncFolder(myPath, path);
  RemoveStaleTemporaries(myPath);
}

}  // namespace ranking
