// Start-up failures of the whole program: no usable background, no window system.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "support/script_run.h"

namespace {

using testing_support::GameDir;
using testing_support::RunScript;

// The exact messages of each damage are the headless backend's tests; here,
// the run as a whole: status 1, one line, nothing written.
TEST(StartUp, ADamagedBackgroundStopsWithOneLine) {
  for (const std::string& bytes : {std::string(), std::string("this is not a picture")}) {
    GameDir dir;
    if (bytes.empty()) {
      dir.Remove("back.bmp");
    } else {
      dir.Write("back.bmp", bytes);
    }
    auto r = RunScript(dir, "tick 16\nstate\n");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_NE(r.err.find("back.bmp"), std::string::npos) << r.err;
    EXPECT_FALSE(dir.Exists("rapikosc.ini"));
  }
}

TEST(StartUp, WithoutAWindowSystemTheGameSaysSoAndStops) {
  GameDir dir;
  std::vector<std::pair<std::string, std::string>> saved;
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) {
    if (const char* v = std::getenv(name)) saved.emplace_back(name, v);
    unsetenv(name);
  }
  auto r = testing_support::RunBinary({"--dir", dir.Path()});
  for (const auto& [name, value] : saved) setenv(name.c_str(), value.c_str(), 1);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("rapiko: no display"), std::string::npos) << r.err;
  EXPECT_FALSE(dir.Exists("rapikosc.ini"));
}

}  // namespace
