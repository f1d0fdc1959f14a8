// A recording that cannot be written ends its scripted run with that failure, not as a success;
// one that fails at its close (a full disk over NFS loses the last of the data there) says so.
#include <gtest/gtest.h>
#include <sys/syscall.h>

#include <cstring>

#include "replay/recording.h"
#include "script/run_script.h"
#include "support/failing_calls.h"
#include "support/game_dir.h"

namespace {

TEST(RunScript, ARecordingThatCannotBeWrittenFailsTheRun) {
  // A full disk fails the ranking's save too (its sync): the recording's failure is still told.
  for (const auto& [calls, error] : {std::pair{std::vector<long>{SYS_pwrite64}, ENOSPC},
                                     {{SYS_pwrite64, SYS_fsync}, ENOSPC},
                                     {{SYS_close}, EIO}}) {
    testing_support::GameDir dir;
    dir.Write("s.script", "start 5\npress 57\ntick 16 3\n");
    const std::string path = dir.File("r.script");
    const std::string said = storage_testing::InChildFailing(calls, error, [&] {
      std::ostringstream out, err;
      if (calls[0] == SYS_pwrite64) {
        const int status =
            script::RunScriptedGame(dir.File("s.script"), dir.Path() + "/", "", out, err, path);
        return std::to_string(status) + " " + err.str();
      }
      // Closing every file fails here, the folder's lock too: the recording alone.
      try {
        replay::RecordingFile file(path);
        file.Get().Start(7);
        file.Get().Pass(16);
        file.Finish();
      } catch (const std::runtime_error& e) {
        return "1 " + std::string(e.what()) + "\n";
      }
      return std::string("finished");
    });
    if (said == storage_testing::kNoSeccomp) GTEST_SKIP() << "no seccomp filters here";
    const std::string recording =
        "cannot write the recording " + path + ": " + std::strerror(error) + "\n";
    EXPECT_EQ(said.substr(0, 2), "1 ");
    EXPECT_TRUE(said.ends_with(recording)) << said;
    EXPECT_EQ(said.find("ranking") != std::string::npos, calls.size() > 1) << said;
  }
}

}  // namespace
