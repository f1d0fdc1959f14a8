// Windows programs started by a test: the game or a helper, fed and read through pipes.
#include "support/windows/game_process.h"

#include <stdexcept>

#include "support/game_dir.h"

namespace testing_support {
namespace {

// The folder of the running test program.
std::string TestFolder() {
  wchar_t name[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, name, MAX_PATH);
  return U8String(std::filesystem::path(std::wstring(name, length)).parent_path());
}

void Close(HANDLE& h) {
  if (h) CloseHandle(h);
  h = nullptr;
}

}  // namespace

std::string GameProgram() { return TestFolder() + "/" RAPIKO_EXE_FROM_TESTS; }

std::string HelperProgram(const std::string& name) { return TestFolder() + "/" + name + ".exe"; }

std::wstring CommandLine(const std::string& program, const std::vector<std::string>& args) {
  std::wstring line = L"\"" + U8Path(program).wstring() + L"\"";
  for (const std::string& arg : args) {
    // Backslashes are doubled before a quote and at the end, where they would escape it.
    const std::wstring wide = U8Path(arg).wstring();
    line += L" \"";
    std::size_t backslashes = 0;
    for (const wchar_t c : wide) {
      if (c == L'\\') {
        ++backslashes;
        continue;
      }
      line.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
      backslashes = 0;
      line += c;
    }
    line.append(2 * backslashes, L'\\');
    line += L'"';
  }
  return line;
}

Process::Process(const std::string& program, const std::vector<std::string>& args) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE childIn = nullptr, childOut = nullptr;
  if (!CreatePipe(&childIn, &in_, &inherit, 0) || !CreatePipe(&out_, &childOut, &inherit, 0)) {
    throw std::runtime_error("no pipes");
  }
  // The test's own ends stay with the test.
  SetHandleInformation(in_, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(out_, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW start{};
  start.cb = sizeof start;
  start.dwFlags = STARTF_USESTDHANDLES;
  start.hStdInput = childIn;
  start.hStdOutput = childOut;
  start.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION made{};
  std::wstring line = CommandLine(program, args);
  if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start,
                     &made)) {
    process_ = made.hProcess;
    CloseHandle(made.hThread);
  }
  CloseHandle(childIn);
  CloseHandle(childOut);
}

Process::~Process() {
  if (process_) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 10000);
  }
  Close(process_);
  Close(in_);
  Close(out_);
}

void Process::Send(const std::string& bytes) {
  DWORD written = 0;
  if (!WriteFile(in_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size()) {
    throw std::runtime_error("cannot send to the program");
  }
}

std::optional<std::string> Process::ReadLine() {
  for (;;) {
    const std::size_t newline = pending_.find('\n');
    if (newline != std::string::npos) {
      std::string line = pending_.substr(0, newline);
      pending_.erase(0, newline + 1);
      return line;
    }
    char buffer[4096];
    DWORD got = 0;
    if (!ReadFile(out_, buffer, sizeof buffer, &got, nullptr) || got == 0) return std::nullopt;
    pending_.append(buffer, got);
  }
}

int Process::Finish(std::string* rest) {
  Close(in_);
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(out_, buffer, sizeof buffer, &got, nullptr) && got > 0)
    pending_.append(buffer, got);
  if (rest) *rest = pending_;
  pending_.clear();
  DWORD code = 1;
  if (WaitForSingleObject(process_, INFINITE) != WAIT_OBJECT_0) return -1;
  GetExitCodeProcess(process_, &code);
  Close(process_);
  return static_cast<int>(code);
}

}  // namespace testing_support
