// Recording a game as a script: the seed, each pass's time, every key, click and focus change.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "media/platform.h"
#include "storage/stream_file.h"

namespace replay {

// The script lines of a session, as a headless run replays them: `start`,
// then per pass the key events the game read in it, the clicks and focus
// changes of its message step, and `tick MS`. Runs of equal ticks are
// written as one `tick MS N`.
class Recording {
 public:
  void Start(uint32_t tick);
  void Key(const media::KeyEvent& e);
  void Click();
  void Focus(bool gained);
  // Ends a pass that ran elapsedMs after the one before.
  void Pass(uint32_t elapsedMs);
  // A comment line, kept in its place among the passes.
  void Note(const std::string& text);
  // Writes out the last run of ticks; call once the game has ended.
  void Finish() { FlushTicks(); }

  // The whole script so far.
  std::string Text() const;
  // Called with each finished line (ticks once their run has ended).
  void OnLine(std::function<void(const std::string&)> sink) { sink_ = std::move(sink); }

 private:
  void Emit(std::string line);
  void FlushTicks();
  // The line of the run of equal ticks under way: "tick MS" or "tick MS N".
  std::string TickLine() const;

  std::string text_;                  // the finished lines
  std::vector<std::string> pending_;  // keys and clicks of the pass under way
  uint32_t tickMs_ = 0;
  uint32_t tickRun_ = 0;
  std::function<void(const std::string&)> sink_;
};

// A recording written to a file line by line as the game goes, so that a
// session that dies still leaves what it played.
class RecordingFile {
 public:
  // Throws std::runtime_error with one line when the file cannot be made.
  explicit RecordingFile(const std::string& path);
  Recording& Get() { return recording_; }
  // Throws std::runtime_error when a line could not be written.
  void Finish();

 private:
  std::string path_;
  storage::StreamFile out_;
  int error_ = 0;  // the first failed write's errno
  Recording recording_;
};

}  // namespace replay
