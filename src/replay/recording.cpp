// Recording a game as a script: the seed, each pass's time, every key, click and focus change.
#include "replay/recording.h"

#include <stdexcept>

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
  for (std::string& line : pending_) Emit(std::move(line));
  pending_.clear();
  tickMs_ = elapsedMs;
  ++tickRun_;
}

void Recording::Note(const std::string& text) {
  FlushTicks();
  Emit("# " + text);
}

std::string Recording::Text() const {
  std::string text = text_;
  if (tickRun_ > 0) text += TickLine() + '\n';
  return text;
}

std::string Recording::TickLine() const {
  std::string line = "tick " + std::to_string(tickMs_);
  if (tickRun_ > 1) line += " " + std::to_string(tickRun_);
  return line;
}

void Recording::Emit(std::string line) {
  if (sink_) sink_(line);
  text_ += line;
  text_ += '\n';
}

void Recording::FlushTicks() {
  if (tickRun_ == 0) return;
  Emit(TickLine());
  tickRun_ = 0;
}

RecordingFile::RecordingFile(const std::string& path) : path_(path) {
  if (const int error = out_.Open(path)) {
    throw std::runtime_error("cannot write the recording " + path + ": " +
                             storage::ErrorText(error));
  }
  recording_.OnLine([this](const std::string& line) {
    if (error_ == 0) error_ = out_.Write(line + '\n');
  });
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
