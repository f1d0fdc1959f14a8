// The words for a system error, the same on every system the game runs on.
#pragma once

#include <string>

namespace storage {

// The error of a path that holds something other than a plain file (a
// FIFO, a device, a folder), where a write wants one.
constexpr int kNotPlainFile = -1;

// The text of an errno value as the game prints it ("No such file or
// directory"). The common errors read as on Linux everywhere, so that a
// message, and a golden game's standard error, are the same on every build.
std::string ErrorText(int error);

}  // namespace storage
