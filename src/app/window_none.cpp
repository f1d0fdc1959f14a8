// A build without SDL has no window: it plays scripted runs (--headless) only.
#include "app/window.h"

namespace app {

std::unique_ptr<media::System> OpenWindow(const Options&) {
  throw media::PlatformError(
      "this build has no window (built without SDL): it plays scripted runs, --headless, only");
}

}  // namespace app
