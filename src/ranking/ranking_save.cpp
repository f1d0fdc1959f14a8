// Saving "rapikosc.ini": lock, read back, merge, write a temporary file, rename it over the old
// one.
#include "ranking/ranking_save.h"

#include <cerrno>
#include <optional>

#include "ranking/name_entry.h"
#include "ranking/ranking_file.h"
#include "storage/errors.h"
#include "storage/folder_lock.h"
#include "storage/folders.h"
#include "storage/paths.h"
#include "storage/write.h"

namespace ranking {

void SaveRanking(state::GameState& g, const std::string& myPath) {
  const std::string path = RankingPath(myPath, g.choices.listName, g.choices.listId);
  // Until the list's own file is there, the places it had under its old name.
  const std::string from = RankingPathToRead(myPath, g.choices.listName, g.choices.listId);
  const auto fail = [&path](const std::string& why) {
    throw SaveError("cannot write the ranking file " + path + ": " + why);
  };
  std::optional<storage::FolderLock> lock;
  try {
    lock.emplace(myPath);
  } catch (const storage::LockError& e) {
    fail(e.what());
  }

  // The file as other games may have left it, with this game's changes.
  const RankingFile disk = ReadRankingFile(from, RankingValues{});
  if (disk.status == RankingFile::Status::kUnreadable) {
    fail("it cannot be read (" + disk.problem + "), so it is left as it is");
  }
  RankingValues saved = disk.values;
  for (const state::RankEntry& entry : g.unsavedResults) {
    InsertRankEntry(saved.rankKeys, saved.rankNames, entry);
  }
  if (g.unsavedName) saved.entryName = g.entryName;
  // rankings/ is made by the game: a link found at its name (or anything else) is never
  // swept or written through.
  const std::string folder = storage::FolderOf(path);
  if (!g.choices.listName.empty()) {
    if (const int error = storage::MakeFolder(folder)) {
      fail(error == ENOTDIR ? folder + " is not a folder of the game's own (a link?)"
                            : storage::ErrorText(error));
    }
  }
  if (lock->Held()) storage::RemoveStaleTemporaries(storage::FolderPath(folder));

  // The old file is replaced only by a complete, synced new one.
  storage::ReplaceOptions options;
  if (disk.status == RankingFile::Status::kRead) options.mode = disk.mode;
  options.keepOldAsBackup = !disk.damage.empty() && from == path;
  const storage::WriteResult written = storage::ReplaceFile(path, RankingFileBytes(saved), options);
  using Step = storage::WriteResult::Step;
  if (written.step == Step::kWrite) fail(storage::ErrorText(written.error));
  if (written.step == Step::kBackup) {
    fail("cannot keep the damaged file as " + storage::NameOf(path) +
         ".bak: " + storage::ErrorText(written.error));
  }
  PutValues(g, saved);
  g.unsavedResults.clear();
  g.unsavedName = false;
  if (written.step == Step::kFolderSync) {
    throw SaveError(
        "the ranking file " + path + " was replaced, but its folder could not be synced (" +
        storage::ErrorText(written.error) + "): a system crash now could still undo the save");
  }
}

void CheckFolderWritable(const std::string& myPath) {
  if (const int error = storage::CheckCanCreate(myPath)) {
    throw SaveError("the ranking cannot be saved in the game folder " +
                    storage::FolderName(myPath) + ": " + storage::ErrorText(error));
  }
}

}  // namespace ranking
