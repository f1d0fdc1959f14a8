// The words for a system error, the same on every system the game runs on.
#include "storage/errors.h"

#include <cerrno>
#include <cstring>

namespace storage {

std::string ErrorText(int error) {
  if (error == kNotPlainFile) return "not a plain file";
  // The errors file work meets, worded as the GNU C library words them.
  static const struct {
    int error;
    const char* text;
  } kTexts[] = {
      {EPERM, "Operation not permitted"},
      {ENOENT, "No such file or directory"},
      {EINTR, "Interrupted system call"},
      {EIO, "Input/output error"},
      {EBADF, "Bad file descriptor"},
      {EAGAIN, "Resource temporarily unavailable"},
      {ENOMEM, "Cannot allocate memory"},
      {EACCES, "Permission denied"},
      {EBUSY, "Device or resource busy"},
      {EEXIST, "File exists"},
      {EXDEV, "Invalid cross-device link"},
      {ENOTDIR, "Not a directory"},
      {EISDIR, "Is a directory"},
      {EINVAL, "Invalid argument"},
      {ENFILE, "Too many open files in system"},
      {EMFILE, "Too many open files"},
      {ETXTBSY, "Text file busy"},
      {EFBIG, "File too large"},
      {ENOSPC, "No space left on device"},
      {EROFS, "Read-only file system"},
      {EMLINK, "Too many links"},
      {ENAMETOOLONG, "File name too long"},
      {ENOLCK, "No locks available"},
      {ENOSYS, "Function not implemented"},
      {ENOTEMPTY, "Directory not empty"},
      {ELOOP, "Too many levels of symbolic links"},
      {EOPNOTSUPP, "Operation not supported"},
#ifdef EDQUOT
      {EDQUOT, "Disk quota exceeded"},
#endif
  };
  for (const auto& t : kTexts) {
    if (t.error == error) return t.text;
  }
  return std::strerror(error);
}

}  // namespace storage
