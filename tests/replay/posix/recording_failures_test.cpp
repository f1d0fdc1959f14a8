// A recording whose file fails at its close says so, as a failed write does.
#include <gtest/gtest.h>
#include <sys/syscall.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

#include "replay/recording.h"
#include "support/failing_calls.h"
#include "support/script_run.h"

namespace {

// The last of the data may be lost at close (a full disk over NFS): the
// session's end reports it instead of passing it by.
TEST(RecordingFile, AFailedCloseIsReported) {
  testing_support::GameDir dir("");
  const std::string path = dir.File("session.script");
  const std::string said = storage_testing::InChildFailing({SYS_close}, EIO, [&path] {
    replay::RecordingFile file(path);
    file.Get().Start(7);
    file.Get().Pass(16);
    try {
      file.Finish();
    } catch (const std::runtime_error& e) {
      return std::string(e.what());
    }
    return std::string("finished");
  });
  if (said == storage_testing::kNoSeccomp) GTEST_SKIP() << "no seccomp filters here";
  EXPECT_EQ(said, "cannot write the recording " + path + ": " + std::strerror(EIO));
}

}  // namespace
