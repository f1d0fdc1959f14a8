// What an append adds to a file, the same on every system: each side's AppendLines writes it.
#include "storage/append.h"

namespace storage {

std::string AppendedBytes(uint64_t oldSize, char lastByte, std::string_view header,
                          std::string_view lines) {
  std::string bytes;
  if (oldSize == 0) {
    bytes = std::string(header) + "\n";
  } else if (lastByte != '\n') {
    bytes = "\n";
  }
  bytes += lines;
  return bytes;
}

}  // namespace storage
