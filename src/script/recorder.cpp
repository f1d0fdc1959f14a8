// Recording a game as a script: the seed, each pass's time, every key, click and focus change.
#include "script/recorder.h"

#include <cstring>
#include <sstream>
#include <stdexcept>

#include "stats/keys.h"

namespace script {

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
  // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) about
  // a literal added to a temporary string.
  std::string line = "tick ";
  line += std::to_string(tickMs_);
  if (tickRun_ > 1) {
    line += ' ';
    line += std::to_string(tickRun_);
  }
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

RecordingFile::RecordingFile(const std::string& path)
    : path_(path), out_(path, std::ios::binary | std::ios::trunc) {
  if (!out_) throw std::runtime_error("cannot write the recording " + path);
  recording_.OnLine([this](const std::string& line) { out_ << line << '\n' << std::flush; });
}

void RecordingFile::Finish() {
  recording_.Finish();
  if (!out_) throw std::runtime_error("cannot write the recording " + path_);
}

namespace {

class RecordingKeyboard : public media::KeyboardDevice {
 public:
  RecordingKeyboard(std::shared_ptr<media::KeyboardDevice> inner, Recording& recording)
      : inner_(std::move(inner)), recording_(recording) {}
  void SetDataFormatKeyboard() override { inner_->SetDataFormatKeyboard(); }
  void SetCooperativeLevel(int32_t flags) override { inner_->SetCooperativeLevel(flags); }
  void SetBufferSize(int32_t events) override { inner_->SetBufferSize(events); }
  void Acquire() override { inner_->Acquire(); }
  void Unacquire() override { inner_->Unacquire(); }
  int32_t GetDeviceData(std::span<media::KeyEvent> events) override {
    const int32_t count = inner_->GetDeviceData(events);
    for (int32_t i = 0; i < count; ++i) recording_.Key(events[static_cast<size_t>(i)]);
    return count;
  }

 private:
  std::shared_ptr<media::KeyboardDevice> inner_;
  Recording& recording_;
};

class RecordingInput : public media::Input {
 public:
  RecordingInput(std::shared_ptr<media::Input> inner, Recording& recording)
      : inner_(std::move(inner)), recording_(recording) {}
  std::shared_ptr<media::KeyboardDevice> CreateKeyboardDevice() override {
    return std::make_shared<RecordingKeyboard>(inner_->CreateKeyboardDevice(), recording_);
  }

 private:
  std::shared_ptr<media::Input> inner_;
  Recording& recording_;
};

class RecordingRoot : public media::Root {
 public:
  RecordingRoot(std::shared_ptr<media::Root> inner, Recording& recording)
      : inner_(std::move(inner)), recording_(recording) {}
  std::shared_ptr<media::Display> CreateDisplay() override { return inner_->CreateDisplay(); }
  std::shared_ptr<media::SoundDevice> CreateSoundDevice() override {
    return inner_->CreateSoundDevice();
  }
  std::shared_ptr<media::Input> CreateInput() override {
    return std::make_shared<RecordingInput>(inner_->CreateInput(), recording_);
  }

 private:
  std::shared_ptr<media::Root> inner_;
  Recording& recording_;
};

// Passes the window's messages on, noting the ones that end the game (a
// click and a close request both quit, which a script's `click` does too)
// and the focus changes that pause a round.
class RecordingEvents : public media::WindowEvents {
 public:
  RecordingEvents(media::WindowEvents& inner, Recording& recording)
      : inner_(inner), recording_(recording) {}
  void OnMouseDown() override {
    recording_.Click();
    inner_.OnMouseDown();
  }
  void OnCloseRequest() override {
    recording_.Click();
    inner_.OnCloseRequest();
  }
  void OnFocusLost() override {
    recording_.Focus(false);
    inner_.OnFocusLost();
  }
  void OnFocusGained() override {
    recording_.Focus(true);
    inner_.OnFocusGained();
  }

 private:
  media::WindowEvents& inner_;
  Recording& recording_;
};

}  // namespace

RecordingSystem::RecordingSystem(media::System& inner, Recording& recording)
    : inner_(inner), recording_(recording) {}

std::shared_ptr<media::Root> RecordingSystem::CreateRoot() {
  return std::make_shared<RecordingRoot>(inner_.CreateRoot(), recording_);
}

uint32_t RecordingSystem::GetTickCount() {
  const uint32_t now = inner_.GetTickCount();
  if (!started_) {
    started_ = true;
    recording_.Start(now);
  } else if (passBegun_) {
    passBegun_ = false;
    inPass_ = true;
    pendingMs_ = now - lastTick_;  // modulo 2^32, as the game takes it
  }
  lastTick_ = now;
  return now;
}

bool RecordingSystem::BeginPass() {
  passBegun_ = true;
  return inner_.BeginPass();
}

void RecordingSystem::SetGame(const state::GameState* game,
                              std::function<void(int, int32_t)> onRoundEnd) {
  game_ = game;
  onRoundEnd_ = std::move(onRoundEnd);
}

void RecordingSystem::DispatchMessages(media::WindowEvents& events) {
  if (!inPass_) {  // shutdown's last look at the messages
    inner_.DispatchMessages(events);
    return;
  }
  RecordingEvents recorded(events, recording_);
  inner_.DispatchMessages(recorded);
  inPass_ = false;
  recording_.Pass(pendingMs_);
  if (!game_) return;
  const int16_t mode = game_->gameMode;
  if (mode == state::kModePlaying && lastMode_ != state::kModePlaying) {
    // Noted after the pass in which Space started it.
    recording_.Note("round " + std::to_string(++rounds_));
  } else if (mode != state::kModePlaying && lastMode_ == state::kModePlaying &&
             !game_->quitRequested && onRoundEnd_) {
    onRoundEnd_(rounds_, game_->score);
  }
  lastMode_ = mode;
}

namespace {

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string Base64(const std::string& bytes) {
  std::string out;
  uint32_t bits = 0;
  int count = 0;
  for (const unsigned char c : bytes) {
    bits = (bits << 8) | c;
    count += 8;
    while (count >= 6) {
      count -= 6;
      out += kBase64[(bits >> count) & 63];
    }
  }
  if (count > 0) out += kBase64[(bits << (6 - count)) & 63];
  while (out.size() % 4 != 0) out += '=';
  return out;
}

std::string FromBase64(const std::string& text) {
  std::string out;
  uint32_t bits = 0;
  int count = 0;
  for (const char c : text) {
    const char* at = std::strchr(kBase64, c);
    if (c == '\0' || at == nullptr) break;  // '=' padding or the line's end
    bits = (bits << 6) | static_cast<uint32_t>(at - kBase64);
    count += 6;
    if (count >= 8) {
      count -= 8;
      out += static_cast<char>((bits >> count) & 255);
    }
  }
  return out;
}

}  // namespace

std::string FileNote(const std::string& name, const std::string& bytes) {
  return "file " + name + " " + Base64(bytes);
}

std::vector<std::pair<std::string, std::string>> NotedFiles(const std::string& scriptText) {
  std::vector<std::pair<std::string, std::string>> files;
  std::istringstream lines(scriptText);
  const std::string marker = "# file ";
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind(marker, 0) != 0) continue;
    const size_t blank = line.find(' ', marker.size());
    if (blank == std::string::npos) continue;
    const std::string name = line.substr(marker.size(), blank - marker.size());
    // Only plain names: a recording never writes outside the folder it is played in.
    if (name.empty() || name.find('/') != std::string::npos || name[0] == '.') continue;
    files.emplace_back(name, FromBase64(line.substr(blank + 1)));
  }
  return files;
}

std::string PracticeNote(const std::vector<int16_t>& keys) {
  std::string text = "practice";
  for (int16_t key : keys) text += " " + stats::KeyName(key);
  return text;
}

std::optional<std::vector<int16_t>> NotedPracticeKeys(const std::string& scriptText) {
  std::istringstream lines(scriptText);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line != "# practice" && line.rfind("# practice ", 0) != 0) continue;
    std::istringstream names(line.substr(10));
    std::vector<int16_t> keys;
    for (std::string name; names >> name;) {
      if (const auto key = stats::KeyCodeOfName(name)) keys.push_back(*key);
    }
    return keys;
  }
  return std::nullopt;
}

}  // namespace script
