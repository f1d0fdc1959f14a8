// When the passes of the main loop begin on a real display: one each refresh
// period on an absolute clock, and one at once for a key pressed in between.
#pragma once

#include <chrono>

namespace media {

class PassPacer {
 public:
  using Clock = std::chrono::steady_clock;

  explicit PassPacer(Clock::duration period) : period_(period) {}
  void SetPeriod(Clock::duration period) { period_ = period; }

  // When the next pass is due; the first is due at once.
  Clock::time_point Due() const { return due_; }
  // A pass begins at `now`. One begun before it was due (for a key) leaves
  // the next where it was, so a key adds a pass and takes none away. One on
  // its time makes the next due a period after it was due, so nothing is
  // lost to rounding; one more than a period late starts the count afresh
  // instead of hurrying to catch up.
  void Begin(Clock::time_point now);

 private:
  Clock::duration period_;
  Clock::time_point due_{};
  bool started_ = false;
};

}  // namespace media
