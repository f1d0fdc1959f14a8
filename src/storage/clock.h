// The local date and time, as the game's files write them.
#pragma once

#include <ctime>
#include <string>

namespace storage {

struct LocalStamp {
  std::string date;     // "2026-12-07"
  std::string time;     // "19:01:42"
  std::string compact;  // "20261207-190142", for file names
};

// The local date and time now (each system's side: posix/, windows/).
LocalStamp LocalNow();

// The stamp of a local time: the one form of dates and times in the game's files.
LocalStamp StampOf(const std::tm& local);

}  // namespace storage
