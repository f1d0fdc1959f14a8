// Keeps what libraries print on standard error out of sight while SDL starts a device.
#pragma once

namespace media {

// While it lives, standard error goes nowhere: the sound and video libraries
// under SDL print lines of their own on failures that SDL reports anyway,
// and the game reports each failure in one line of its own.
class QuietStderr {
 public:
  QuietStderr();
  ~QuietStderr();
  QuietStderr(const QuietStderr&) = delete;
  QuietStderr& operator=(const QuietStderr&) = delete;

 private:
  int saved_ = -1;
};

}  // namespace media
