// Which folder the game reads and writes its files in.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "storage/user_folder.h"

namespace app {

// On Windows a copy unzipped where the player cannot write (under Program
// Files, say) keeps its results in the per-user folder; elsewhere the
// program's folder holding back.bmp is the game folder as it is (a build,
// or a copy the player keeps).
// On Windows such a portable copy in use keeps its settings beside the
// program too, so that the folder carries all of the game (a USB stick);
// elsewhere settings are the user's, in the system's folder for them.
#ifdef _WIN32
constexpr bool kProgramFolderMustBeWritable = true;
constexpr bool kPortableCopyKeepsSettings = true;
#else
constexpr bool kProgramFolderMustBeWritable = false;
constexpr bool kPortableCopyKeepsSettings = false;
#endif

// What the choice rests on besides --dir.
struct FolderPlaces {
  std::string programFolder{};  // the running program's folder
  std::string installedData{};  // the installed default files
  storage::UserDirs dirs{};     // the folders that decide the per-user folder
  bool programFolderMustBeWritable = kProgramFolderMustBeWritable;
  bool portableCopyKeepsSettings = kPortableCopyKeepsSettings;
  // Whether a file can be made in a folder; the storage's own check unless a test says.
  std::function<bool(const std::string&)> canWrite{};
};

// The game folder: dirOption when given; else the program's folder when it
// holds back.bmp (a portable copy or a build) and, where that is asked, can
// be written; else the per-user folder, created and seeded with copies of
// back.bmp and rapdata.ini from the installed data, or from the program's
// folder when it holds them (files already there are kept). A dirOption
// folder that does not exist or is empty is made and seeded the same way;
// one that holds anything is taken as it is. On a fault (dirOption is not a
// folder, a folder or copy cannot be made) returns nothing and sets error
// to one line naming the folder or file.
std::optional<std::string> ChooseGameFolder(const std::string& dirOption,
                                            const FolderPlaces& places, std::string& error);

// The settings' folder for the game folder ChooseGameFolder gave: the
// program's own where a portable copy in use keeps its settings, else the
// system's (storage::ConfigFolder; empty when it names none).
std::string SettingsFolder(const std::string& gameFolder, const FolderPlaces& places);

}  // namespace app
