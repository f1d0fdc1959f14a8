// The local date and time, as the game's files write them.
#pragma once

#include <string>

namespace storage {

struct LocalStamp {
  std::string date;     // "2026-12-07"
  std::string time;     // "19:01:42"
  std::string compact;  // "20261207-190142", for file names
};

// The local date and time now.
LocalStamp LocalNow();

}  // namespace storage
