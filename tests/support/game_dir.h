// A scratch game folder for tests, on every system the game builds for.
#pragma once

#include <filesystem>
#include <string>

namespace testing_support {

// A path for std::filesystem from a UTF-8 string, and back: on Windows a
// plain string would be read in the code page, not as UTF-8.
std::filesystem::path U8Path(const std::string& utf8);
std::string U8String(const std::filesystem::path& path);

// A scratch game folder, removed at the end of the test. It starts with the
// default back.bmp and the given word list (none when words is empty).
// Paths are UTF-8.
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
  // Makes the folder name (and its parents) in this one; its path.
  std::string Folder(const std::string& name) const;
  // A name in this folder with something other than a plain file at it,
  // that a read or a write would wait on or send to a device: a FIFO, or on
  // Windows the name of a device.
  std::string SpecialFile() const;

 private:
  std::string path_;
};

// Makes a symbolic link at `at` to target: false where the system makes
// none (Wine; Windows without the right to).
bool MakeLink(const std::string& target, const std::string& at);

// Reads a whole file (empty when absent).
std::string ReadFileBytes(const std::string& path);

}  // namespace testing_support
