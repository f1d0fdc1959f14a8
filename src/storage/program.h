// The running program: its arguments and its folder, in UTF-8.
#pragma once

#include <string>
#include <vector>

namespace storage {

// The arguments after the program's name. On Windows they are taken from the
// command line in UTF-16, whatever the code page, so that a path such as
// C:\Users\Zoë arrives whole; elsewhere they are argv as it is.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// The path from the root that path names from the current folder, in its
// normal form (NormalPath); path itself when the current folder is unknown.
std::string AbsolutePath(const std::string& path);

// The folder holding the running program: as the system knows it, else
// from argv0.
std::string ProgramFolder(const std::string& argv0);

}  // namespace storage
