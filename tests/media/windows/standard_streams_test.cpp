// The Windows program's standard streams are binary before main runs.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <io.h>

#include <cstdio>
#include <initializer_list>

namespace {

// _setmode returns the mode it replaces: binary already, if the program's
// start-up made it so (text would add a CR before every LF of a scripted run).
TEST(StandardStreams, AreBinaryFromTheStart) {
  for (std::FILE* stream : {stdin, stdout, stderr}) {
    const int fd = _fileno(stream);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(_setmode(fd, _O_BINARY), _O_BINARY) << "stream of descriptor " << fd;
  }
}

}  // namespace
