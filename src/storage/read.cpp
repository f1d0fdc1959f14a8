// Reading whole files: the wording of what went wrong, the same on every system.
#include "storage/read.h"

#include "storage/errors.h"

namespace storage {

std::string FileRead::Problem(std::size_t maxBytes) const {
  if (notPlain) return "not a plain file";
  if (tooLarge) return "larger than " + std::to_string(maxBytes) + " bytes";
  if (error != 0) return ErrorText(error);
  return "";
}

}  // namespace storage
