// Reading whole files, at most a limit or in pieces, the wording of what
// went wrong, and whether two paths are one file: the same on every system.
#include "storage/read.h"

#include <algorithm>

#include "storage/errors.h"
#include "storage/paths.h"
#include "storage/read_platform.h"

namespace storage {

std::string FileRead::Problem(std::size_t maxBytes) const {
  if (notPlain) return "not a plain file";
  if (tooLarge) return "larger than " + std::to_string(maxBytes) + " bytes";
  if (error != 0) return ErrorText(error);
  return "";
}

FileRead ReadWholeFile(const std::string& path, std::size_t maxBytes) {
  FileRead r;
  PlainReader file(path, r);
  if (!file.Ok()) return r;
  char chunk[65536];
  for (;;) {
    // One byte past the limit tells a file of exactly the limit from a larger one.
    const std::size_t want = std::min(sizeof chunk, maxBytes + 1 - r.bytes.size());
    const long got = file.Read(chunk, want, r);
    if (got < 0) break;
    if (got == 0) {
      r.complete = true;
      break;
    }
    r.bytes.append(chunk, static_cast<std::size_t>(got));
    if (r.bytes.size() > maxBytes) {
      r.bytes.resize(maxBytes);
      r.tooLarge = true;
      break;
    }
  }
  return r;
}

FileRead ReadInPieces(const std::string& path, std::size_t pieceBytes,
                      const std::function<void(std::string_view)>& take) {
  FileRead r;
  PlainReader file(path, r);
  if (!file.Ok()) return r;
  std::string piece(pieceBytes, '\0');
  for (;;) {
    const long got = file.Read(piece.data(), piece.size(), r);
    if (got < 0) break;
    if (got == 0) {
      r.complete = true;
      break;
    }
    take(std::string_view(piece.data(), static_cast<std::size_t>(got)));
  }
  return r;
}

bool SameFile(const std::string& a, const std::string& b) {
  const std::optional<FileIdentity> ia = IdentityOf(a);
  const std::optional<FileIdentity> ib = IdentityOf(b);
  if (ia && ib) return *ia == *ib;
  // One of them is not there (yet): the same name in the same folder.
  if (!SameName(NameOf(a), NameOf(b))) return false;
  const std::optional<FileIdentity> folder = IdentityOf(FolderOf(a));
  return folder && folder == IdentityOf(FolderOf(b));
}

}  // namespace storage
