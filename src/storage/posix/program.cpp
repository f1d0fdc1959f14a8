// The running program on POSIX systems: argv as it is, the folder from /proc/self/exe.
#include "storage/program.h"

#include <filesystem>

namespace storage {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

std::string ProgramFolder(const std::string& argv0) {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty()) exe = std::filesystem::absolute(argv0, ec);
  std::string folder = exe.parent_path().string();
  return folder.empty() ? "." : folder;
}

}  // namespace storage
