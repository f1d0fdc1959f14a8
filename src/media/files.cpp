// Reading a whole file at once: the one loop that every file reader of the game shares.
#include "media/files.h"

#include <cerrno>
#include <cstdio>

namespace media {

FileRead ReadWholeFile(const std::string& path) {
  FileRead r;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    r.error = errno;
    return r;
  }
  r.opened = true;
  char chunk[65536];
  std::size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) r.bytes.append(chunk, got);
  r.complete = std::ferror(file) == 0;
  if (!r.complete) r.error = errno;
  std::fclose(file);
  return r;
}

}  // namespace media
