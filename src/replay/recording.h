// Recording a game as a script: the seed, each pass's time, every key, click and focus change.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "media/platform.h"
#include "storage/stream_file.h"

namespace replay {

// Where the lines of a recording go as they are made.
class RecordingSink {
 public:
  virtual ~RecordingSink() = default;
  // A finished line (without its line end).
  virtual void Line(const std::string& line) = 0;
  // The line of the run of equal ticks under way, each time it grows; it
  // stands in the place of the last such line until a Line() finishes it.
  virtual void Pending(const std::string&) {}
};

// The script lines of a session, as a headless run replays them: `start`,
// then per pass the key events the game read in it, the clicks and focus
// changes of its message step, and `tick MS`. Runs of equal ticks are
// written as one `tick MS N`. The lines go to the sinks; a recording keeps
// none of them itself, so a long session costs no memory.
class Recording {
 public:
  void AddSink(RecordingSink* sink) { sinks_.push_back(sink); }

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

  // The line of the run of ticks under way ("tick MS" or "tick MS N"), or
  // "" when there is none.
  std::string PendingLine() const;

 private:
  void Emit(const std::string& line);
  void FlushTicks();

  std::vector<RecordingSink*> sinks_;
  std::vector<std::string> pending_;  // keys and clicks of the pass under way
  uint32_t tickMs_ = 0;
  uint32_t tickRun_ = 0;
};

// The whole script of a recording, kept in memory (for tests and short runs).
class RecordingText : public RecordingSink {
 public:
  explicit RecordingText(Recording& recording) : recording_(recording) { recording.AddSink(this); }
  void Line(const std::string& line) override { text_ += line + '\n'; }
  // The script so far, the run of ticks under way included.
  std::string Text() const;

 private:
  const Recording& recording_;
  std::string text_;
};

// A recording written to a file as the game goes, every line and every pass
// at once, so that a session that dies still leaves all it played. The file
// begins with the format line (replay/format.h).
class RecordingFile : public RecordingSink {
 public:
  // Throws std::runtime_error with one line when the file cannot be made.
  explicit RecordingFile(const std::string& path);
  Recording& Get() { return recording_; }
  // Throws std::runtime_error when a line could not be written.
  void Finish();

  void Line(const std::string& line) override;
  void Pending(const std::string& line) override;

 private:
  std::string path_;
  storage::StreamFile out_;
  int error_ = 0;      // the first failed write's errno
  uint64_t size_ = 0;  // of the finished lines
  Recording recording_;
};

}  // namespace replay
