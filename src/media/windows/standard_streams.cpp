// The Windows program's standard streams: its console, and bytes as they are.
//
// Linked into the Windows program itself (dist/windows/CMakeLists.txt), so
// that this runs before main and before any output. A program of the GUI
// subsystem, as the game is so that Explorer opens no console beside its
// window, is in no console when started from one: it joins its parent's, so
// that --help, --version, --stats and headless runs print there, and so that
// Ctrl+C and closing that console reach it. Streams that were redirected
// are kept as they are.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <initializer_list>

namespace {

bool Missing(DWORD which) {
  const HANDLE handle = GetStdHandle(which);
  return handle == nullptr || handle == INVALID_HANDLE_VALUE ||
         GetFileType(handle) == FILE_TYPE_UNKNOWN;
}

struct StandardStreams {
  StandardStreams() {
    const bool out = Missing(STD_OUTPUT_HANDLE);
    const bool err = Missing(STD_ERROR_HANDLE);
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
      if (out) std::freopen("CONOUT$", "w", stdout);
      if (err) std::freopen("CONOUT$", "w", stderr);
    }
    // A scripted run's bytes are the same as on Linux: no CR written before
    // each LF, none taken out of the script, and Ctrl+Z is no end of input.
    for (std::FILE* stream : {stdin, stdout, stderr}) {
      if (_fileno(stream) >= 0) _setmode(_fileno(stream), _O_BINARY);
    }
  }
};

const StandardStreams standardStreams;

}  // namespace
