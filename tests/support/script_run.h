// Runs the game binary headless on a script in a scratch game folder.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace testing_support {

// A scratch game folder, removed at the end of the test. It starts with the
// default back.bmp and the given word list (none when words is empty).
class GameDir {
 public:
  explicit GameDir(const std::string& words = "CAT\r\nDOG\r\nEMU\r\n");
  ~GameDir();
  GameDir(const GameDir&) = delete;
  GameDir& operator=(const GameDir&) = delete;

  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  void Write(const std::string& name, const std::string& bytes) const;
  std::string Read(const std::string& name) const;  // empty when absent
  bool Exists(const std::string& name) const;
  void Remove(const std::string& name) const;

 private:
  std::string path_;
};

struct RunResult {
  int exitCode = -1;
  std::string out;
  std::string err;
  std::vector<nlohmann::json> lines;  // stdout, one JSON object per line
  // The lines that hold a state dump / a frame, in order.
  std::vector<nlohmann::json> States() const;
  std::vector<nlohmann::json> Frames() const;
};

// Runs `rapiko --headless --script FILE --dir DIR` on the script text.
RunResult RunScript(const GameDir& dir, const std::string& script,
                    const std::vector<std::string>& extraArgs = {});
// Runs the binary with exactly these arguments (stdin from /dev/null).
RunResult RunBinary(const std::vector<std::string>& args);

// Reads a whole file (empty when absent).
std::string ReadFileBytes(const std::string& path);

}  // namespace testing_support
