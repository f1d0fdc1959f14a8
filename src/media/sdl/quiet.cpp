// Keeps what libraries print on standard error out of sight while SDL starts a device.
#include "media/sdl/quiet.h"

#include <cstdio>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <unistd.h>
#define RAPIKO_HAVE_DUP2 1
#endif

namespace media {

QuietStderr::QuietStderr() {
#ifdef RAPIKO_HAVE_DUP2
  std::fflush(stderr);
  saved_ = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
  const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (saved_ >= 0 && null >= 0) dup2(null, STDERR_FILENO);
  if (null >= 0) close(null);
#endif
}

QuietStderr::~QuietStderr() {
#ifdef RAPIKO_HAVE_DUP2
  std::fflush(stderr);
  if (saved_ >= 0) {
    dup2(saved_, STDERR_FILENO);
    close(saved_);
  }
#endif
}

}  // namespace media
