// Windows programs started by a test: the game or a helper, fed and read through pipes.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace testing_support {

// The game built beside the tests (rapiko.exe), as a path the system takes.
std::string GameProgram();
// A helper program built beside the tests.
std::string HelperProgram(const std::string& name);

// A program with standard input and output through pipes (standard error
// goes to the test's own), started from a command line of UTF-8 arguments
// quoted as Windows programs read them.
class Process {
 public:
  Process(const std::string& program, const std::vector<std::string>& args);
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  bool Started() const { return process_ != nullptr; }
  void Send(const std::string& bytes);
  // The next line of standard output (without its end), or nothing at its end.
  std::optional<std::string> ReadLine();
  // Ends standard input and waits for the end: the exit status, and what was
  // written after the lines already read.
  int Finish(std::string* rest = nullptr);

 private:
  HANDLE process_ = nullptr;
  HANDLE in_ = nullptr;
  HANDLE out_ = nullptr;
  std::string pending_;
};

// The command line a Windows program splits into exactly these arguments.
std::wstring CommandLine(const std::string& program, const std::vector<std::string>& args);

}  // namespace testing_support
