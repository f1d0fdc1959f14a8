// Finding the word file that --words names: a file by its path, or a list by its name.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace app {

// The lists that come with the game, by name ("bottom, digits, ...").
std::string ShippedWordLists();

// The help of --words FILE: how its value is told to be a path (on
// Windows a backslash and a drive too).
std::string WordFileHelp();

// Where a list is looked for by name, in order: the game folder's words/,
// then the lists beside the program (a build) and in the installed data
// folder.
std::vector<std::string> WordListFolders(const std::string& myPath,
                                         const std::string& programFolder,
                                         const std::string& dataFolder);

// The word file for the value of --words. A value that is no bare name (it
// holds a slash, or on Windows a backslash or a drive) or ends in ".ini" is
// a path, taken as it is; any other names a list, NAME.ini
// in the first of folders that holds it. Nothing, with error set to one
// line, when no folder holds it.
std::optional<std::string> WordFileFor(const std::string& value,
                                       const std::vector<std::string>& folders, std::string& error);

// The name a value of --words gives its list, which names its ranking: a
// list's own name, or a file's name without its folder and ".ini"/".txt".
std::string ListNameOf(const std::string& value);

// The name of the list that value (of --words) plays from file, which
// names its ranking and its rounds in the history: ListNameOf(value), or
// empty when file is the game folder's own word file (folderWords),
// whatever it is called.
std::string ListNameFor(const std::string& value, const std::string& file,
                        const std::string& folderWords);

// Which file a list played by its path is (Choices::listId): ranking::ListId
// of the file's path from the game folder myPath (its whole path when it
// lies elsewhere), so that moving the game folder keeps it. Empty for a list
// played by its name, and for a path to the file that name finds in folders.
std::string ListIdFor(const std::string& value, const std::string& file, const std::string& myPath,
                      const std::vector<std::string>& folders);

// Whether file, found for the value of --words, gives at least one word.
// When not (it cannot be read, is not a plain file or loads no word), false
// with error set to one line saying why.
bool WordFileLoads(const std::string& value, const std::string& file, std::string& error);

}  // namespace app
