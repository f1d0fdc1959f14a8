// When the passes of the main loop begin on a real display.
#include "media/pass_pacer.h"

namespace media {

void PassPacer::Begin(Clock::time_point now) {
  if (!started_) {
    started_ = true;
    due_ = now + period_;
    return;
  }
  if (now < due_) return;  // early, for a key
  due_ = now - due_ > period_ ? now + period_ : due_ + period_;
}

}  // namespace media
