// Runs the game binary headless on a script in a scratch game folder.
#include "support/script_run.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testing_support {

namespace fs = std::filesystem;

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

GameDir::GameDir(const std::string& words) {
  std::string tmpl = (fs::temp_directory_path() / "rapiko-test-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl;
  fs::copy_file(std::string(RAPIKO_ASSETS_DIR) + "/back.bmp", File("back.bmp"));
  if (!words.empty()) Write("rapdata.ini", words);
}

GameDir::~GameDir() {
  std::error_code ec;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

void GameDir::Write(const std::string& name, const std::string& bytes) const {
  std::ofstream out(File(name), std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string GameDir::Read(const std::string& name) const { return ReadFileBytes(File(name)); }

bool GameDir::Exists(const std::string& name) const { return fs::exists(File(name)); }

void GameDir::Remove(const std::string& name) const {
  std::error_code ec;
  fs::remove(File(name), ec);
}

std::vector<nlohmann::json> RunResult::States() const {
  std::vector<nlohmann::json> out;
  for (const auto& j : lines) {
    if (j.contains("gameMode")) out.push_back(j);
  }
  return out;
}

std::vector<nlohmann::json> RunResult::Frames() const {
  std::vector<nlohmann::json> out;
  for (const auto& j : lines) {
    if (j.contains("ops")) out.push_back(j);
  }
  return out;
}

RunResult RunBinary(const std::vector<std::string>& args) {
  std::string tmpl = (fs::temp_directory_path() / "rapiko-run-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  const std::string outPath = tmpl + "/out";
  const std::string errPath = tmpl + "/err";
  const pid_t pid = fork();
  if (pid == 0) {
    const int in = open("/dev/null", O_RDONLY);
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    std::vector<char*> argv;
    std::string binary = RAPIKO_BINARY;
    argv.push_back(binary.data());
    std::vector<std::string> copy = args;
    for (std::string& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(binary.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  RunResult r;
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  r.out = ReadFileBytes(outPath);
  r.err = ReadFileBytes(errPath);
  std::error_code ec;
  fs::remove_all(tmpl, ec);
  std::istringstream lines(r.out);
  std::string line;
  while (std::getline(lines, line)) {
    // Only a headless run prints JSON; --help and --version print text.
    if (!line.empty() && line[0] == '{') r.lines.push_back(nlohmann::json::parse(line));
  }
  return r;
}

RunResult RunScript(const GameDir& dir, const std::string& script,
                    const std::vector<std::string>& extraArgs) {
  dir.Write("script.txt", script);
  std::vector<std::string> args = {"--headless", "--script", dir.File("script.txt"), "--dir",
                                   dir.Path()};
  args.insert(args.end(), extraArgs.begin(), extraArgs.end());
  return RunBinary(args);
}

}  // namespace testing_support
