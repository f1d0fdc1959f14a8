// A replay shown in a window: the rounds before the one to watch are not shown.
#include "app/sessions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "media/headless/headless.h"
#include "support/script_run.h"

namespace {

using testing_support::GameDir;

// A replay's window, headless; it never closes.
struct Window : media::System {
  std::shared_ptr<media::Root> CreateRoot() override { return platform.CreateRoot(); }
  uint32_t GetTickCount() override { return platform.Tick(); }
  bool BeginPass() override { return true; }
  void DispatchMessages(media::WindowEvents&) override {}
  media::HeadlessPlatform platform;
};

// Without a round to watch every pass is shown; with one, only the passes after the one that
// starts it.
TEST(Replay, RoundsBeforeTheOneToWatchAreNotShown) {
  GameDir dir("");
  const std::string round1 = "press 57\ntick 16\ntick 16 7501\npress 28\ntick 16\n";
  for (const auto& [text, shown] :
       {std::pair{std::string("tick 16 2\n"), 2},
        {"# replay from round 2\n" + round1 + "press 57\ntick 16\ntick 16 3\n", 3}}) {
    dir.Write("r.script", text);
    Window window;
    std::ostringstream err;
    EXPECT_EQ(app::ShowRecording(dir.File("r.script"), dir.Path() + "/", window, err), 0)
        << err.str();
    const auto& ops = window.platform.FrameOps();
    EXPECT_EQ(std::count_if(ops.begin(), ops.end(),
                            [](const media::SurfaceOp& op) { return op.kind == op.Kind::Flip; }),
              shown)
        << text;
  }
  dir.Remove("back.bmp");  // a start-up that fails: status 1, and says why
  Window window;
  std::ostringstream err;
  EXPECT_EQ(app::ShowRecording(dir.File("r.script"), dir.Path() + "/", window, err), 1);
  EXPECT_NE(err.str().find("back.bmp"), std::string::npos) << err.str();
}

}  // namespace
