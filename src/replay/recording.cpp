// Recording a game as a script: the seed, each pass's time, every key, click and focus change.
#include "replay/recording.h"

#include <stdexcept>

#include "replay/format.h"
#include "storage/errors.h"

namespace replay {

void Recording::Start(uint32_t tick) { Emit("start " + std::to_string(tick)); }

void Recording::Key(const media::KeyEvent& e) {
  // Only the down value counts as a press; any other reads as a release.
  pending_.push_back((e.data == media::kKeyDown ? "down " : "up ") + std::to_string(e.keyCode));
}

void Recording::Click() { pending_.emplace_back("click"); }

void Recording::Focus(bool gained) { pending_.emplace_back(gained ? "focus in" : "focus out"); }

void Recording::Pass(uint32_t elapsedMs) {
  if (!pending_.empty() || elapsedMs != tickMs_) FlushTicks();
  for (const std::string& line : pending_) Emit(line);
  pending_.clear();
  tickMs_ = elapsedMs;
  ++tickRun_;
  const std::string line = PendingLine();
  for (RecordingSink* sink : sinks_) sink->Pending(line);
}

void Recording::Note(const std::string& text) {
  FlushTicks();
  Emit("# " + text);
}

std::string Recording::PendingLine() const {
  if (tickRun_ == 0) return "";
  std::string line = "tick " + std::to_string(tickMs_);
  if (tickRun_ > 1) line += " " + std::to_string(tickRun_);
  return line;
}

void Recording::Emit(const std::string& line) {
  for (RecordingSink* sink : sinks_) sink->Line(line);
}

void Recording::FlushTicks() {
  if (tickRun_ == 0) return;
  Emit(PendingLine());
  tickRun_ = 0;
}

std::string RecordingText::Text() const {
  const std::string pending = recording_.PendingLine();
  return pending.empty() ? text_ : text_ + pending + '\n';
}

RecordingFile::RecordingFile(const std::string& path) : path_(path) {
  if (const int error = out_.Open(path)) {
    throw std::runtime_error("cannot write the recording " + path + ": " +
                             storage::ErrorText(error));
  }
  recording_.AddSink(this);
  Line(RecordingFormatLine());
}

void RecordingFile::Line(const std::string& line) {
  // Over the run of ticks it finishes, if any; then the next line follows it.
  if (error_ == 0) error_ = out_.WriteAt(size_, line + '\n');
  size_ += line.size() + 1;
}

void RecordingFile::Pending(const std::string& line) {
  // Each pass is in the file at once: the run's line is written again in
  // its place, one count longer.
  if (error_ == 0) error_ = out_.WriteAt(size_, line + '\n');
}

void RecordingFile::Finish() {
  recording_.Finish();
  if (error_ == 0) error_ = out_.Close();
  if (error_ != 0) {
    throw std::runtime_error("cannot write the recording " + path_ + ": " +
                             storage::ErrorText(error_));
  }
}

}  // namespace replay
