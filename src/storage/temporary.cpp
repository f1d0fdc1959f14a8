// The names of temporary files: unguessable, and known again when a game died leaving one.
#include "storage/temporary.h"

#include <cctype>

#include "storage/folders.h"
#include "storage/write.h"

namespace storage {

std::string TemporaryName(const std::string& path) {
  static constexpr std::string_view kChars =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  unsigned char raw[kRandomNameLength];
  RandomBytes(raw, sizeof raw);
  std::string name = path + std::string(kTemporaryInfix);
  for (const unsigned char c : raw) name += kChars[c % kChars.size()];
  return name;
}

bool IsTemporaryName(std::string_view name) {
  const std::size_t tail = kTemporaryInfix.size() + kRandomNameLength;
  if (name.size() <= tail ||
      name.substr(name.size() - tail, kTemporaryInfix.size()) != kTemporaryInfix) {
    return false;
  }
  for (const char c : name.substr(name.size() - kRandomNameLength)) {
    if (!std::isalnum(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

void RemoveStaleTemporaries(const std::string& myPath) {
  for (const std::string& name : ListFolder(myPath)) {
    if (IsTemporaryName(name)) RemoveFile(myPath + name);
  }
}

}  // namespace storage
