// The running program on POSIX systems: argv as it is, the folder from /proc/self/exe
// (argv0 in the web builds).
#include "storage/program.h"

#include <filesystem>

#include "storage/paths.h"

namespace storage {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

std::string AbsolutePath(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  return ec ? path : NormalPath(absolute.string());
}

std::string ProgramFolder(const std::string& argv0) {
  std::error_code ec;
  std::filesystem::path exe;
#ifndef __EMSCRIPTEN__
  exe = std::filesystem::read_symlink("/proc/self/exe", ec);
#endif
  // A web build's /proc/self/exe, where there is one, is Node itself; its
  // argv0 is the program's own .js file.
  if (ec || exe.empty()) exe = std::filesystem::absolute(argv0, ec);
  std::string folder = exe.parent_path().string();
  return folder.empty() ? "." : folder;
}

}  // namespace storage
