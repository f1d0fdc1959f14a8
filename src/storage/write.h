// Writing the files of the game folder: nothing a player keeps is ever lost or half written.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace storage {

// A new file's permission bits, before the umask; a replaced file keeps its own.
constexpr uint32_t kNewFileMode = 0644;

// How a write ended. The steps are in the order they are taken, so a
// failure at kFolderSync means the new file is in place already.
struct WriteResult {
  enum class Step { kDone, kWrite, kBackup, kFolderSync };
  Step step = Step::kDone;
  int error = 0;  // the errno of the failure
  bool Ok() const { return step == Step::kDone; }
  // The errno of a write that left the new file out of place, else 0. A
  // failed folder sync counts as written: the file is in place, and only a
  // crash of the whole system in the moments after could still lose its
  // name. (The ranking's save alone says so to the player.)
  int Failure() const { return step == Step::kFolderSync ? 0 : error; }
};

struct ReplaceOptions {
  // The permission bits of the new file; kNewFileMode when not given.
  std::optional<uint32_t> mode{};
  // The old file's bytes stay as PATH.bak (a damaged file kept for the player).
  bool keepOldAsBackup = false;
};

// Replaces the file at path with bytes, durably: a temporary file of an
// unguessable name (PATH.tmp-XXXXXXXXXXXX) is made new beside it, never
// through a link, written, synced, renamed over path, and the folder is
// synced. Until the rename the old file is untouched; a failure removes the
// temporary again. Something other than a plain file or a link at path (a
// folder, FIFO or device) is left alone: kNotPlainFile.
WriteResult ReplaceFile(const std::string& path, std::string_view bytes,
                        const ReplaceOptions& options = {});

// Appends lines (whole lines, each ending in '\n') to the plain file at
// path, durably: made with header as its first line when new or empty, never
// through a link, never a FIFO or device; a last line cut short by a crash
// stays a line of its own; synced, and a failed append is cut off again so
// that no part of it stays. Call it under the folder's lock.
WriteResult AppendLines(const std::string& path, std::string_view header, std::string_view lines);

// Whether a file can be made in folder (myPath style, ending in '/'): 0, or
// the errno of the attempt. Nothing is left behind.
int CheckCanCreate(const std::string& myPath);

// Removes the temporaries that ReplaceFile left in folder (myPath style)
// when a game died while writing. Call it under the folder's lock: every
// writer holds it while its temporary exists.
void RemoveStaleTemporaries(const std::string& myPath);

}  // namespace storage
