// Showing a recorded game in the window at the pace it was played.
#include "script/replay.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <utility>

#include "game/lifecycle.h"
#include "media/display_common.h"
#include "media/files.h"
#include "ranking/ranking_file.h"
#include "script/recorder.h"
#include "typing/word_data.h"

namespace script {
namespace {

// Hundreds of hours of play; no recording comes near it.
constexpr std::size_t kMaxRecordingBytes = std::size_t{256} << 20;

// The window's primary surface, whose flips are left out while the replay
// runs through rounds nobody watches (a flip would wait for the display).
class ReplayPrimary : public media::Surface {
 public:
  ReplayPrimary(std::shared_ptr<media::Surface> inner, std::shared_ptr<bool> showing)
      : inner_(std::move(inner)), showing_(std::move(showing)) {}
  bool FastBlit(int32_t x, int32_t y, media::Surface& source, media::Rect rect,
                media::BlitFlags flags) override {
    return inner_->FastBlit(x, y, source, rect, flags);
  }
  void DrawBox(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override {
    inner_->DrawBox(x1, y1, x2, y2);
  }
  void DrawText(int32_t x, int32_t y, const std::string& text) override {
    inner_->DrawText(x, y, text);
  }
  void SetForeColor(media::Rgb rgb) override { inner_->SetForeColor(rgb); }
  void SetFillColor(media::Rgb rgb) override { inner_->SetFillColor(rgb); }
  void Flip() override {
    if (*showing_) inner_->Flip();
  }
  std::shared_ptr<media::Surface> GetAttachedSurface() override {
    return inner_->GetAttachedSurface();
  }
  void SetColorKey(uint8_t index) override { inner_->SetColorKey(index); }
  void SetPalette(std::shared_ptr<media::Palette> palette) override {
    inner_->SetPalette(std::move(palette));
  }

 private:
  std::shared_ptr<media::Surface> inner_;
  std::shared_ptr<bool> showing_;
};

class ReplayDisplay : public media::Display {
 public:
  ReplayDisplay(std::shared_ptr<media::Display> inner, std::shared_ptr<bool> showing)
      : inner_(std::move(inner)), showing_(std::move(showing)) {}
  void SetCooperativeLevel(media::CooperativeLevel level) override {
    inner_->SetCooperativeLevel(level);
  }
  void SetDisplayMode(int32_t width, int32_t height, int32_t bits) override {
    inner_->SetDisplayMode(width, height, bits);
  }
  void RestoreDisplayMode() override { inner_->RestoreDisplayMode(); }
  std::shared_ptr<media::Surface> CreatePrimarySurface(int32_t backBufferCount) override {
    return std::make_shared<ReplayPrimary>(inner_->CreatePrimarySurface(backBufferCount), showing_);
  }
  std::shared_ptr<media::Surface> CreateSurfaceFromFile(const std::string& path, int32_t width,
                                                        int32_t height) override {
    return inner_->CreateSurfaceFromFile(path, width, height);
  }
  std::shared_ptr<media::Surface> CreateSurfaceFromResource(const std::string& name, int32_t width,
                                                            int32_t height) override {
    return inner_->CreateSurfaceFromResource(name, width, height);
  }
  std::shared_ptr<media::Palette> LoadPaletteFromFile(const std::string& path) override {
    return inner_->LoadPaletteFromFile(path);
  }

 private:
  std::shared_ptr<media::Display> inner_;
  std::shared_ptr<bool> showing_;
};

// Picture and sound from the window, keys from the script.
class ReplayRoot : public media::Root {
 public:
  ReplayRoot(std::shared_ptr<media::Root> window, std::shared_ptr<media::Root> scripted,
             std::shared_ptr<bool> showing)
      : window_(std::move(window)), scripted_(std::move(scripted)), showing_(std::move(showing)) {}
  std::shared_ptr<media::Display> CreateDisplay() override {
    return std::make_shared<ReplayDisplay>(window_->CreateDisplay(), showing_);
  }
  std::shared_ptr<media::SoundDevice> CreateSoundDevice() override {
    return window_->CreateSoundDevice();
  }
  std::shared_ptr<media::Input> CreateInput() override { return scripted_->CreateInput(); }

 private:
  std::shared_ptr<media::Root> window_;
  std::shared_ptr<media::Root> scripted_;
  std::shared_ptr<bool> showing_;
};

// The window's own messages only stop the replay.
class StopOnWindowEvents : public media::WindowEvents {
 public:
  explicit StopOnWindowEvents(bool& stopped) : stopped_(stopped) {}
  void OnMouseDown() override { stopped_ = true; }
  void OnCloseRequest() override { stopped_ = true; }
  // A replay shows what was recorded, focus or not.
  void OnFocusLost() override {}
  void OnFocusGained() override {}

 private:
  bool& stopped_;
};

}  // namespace

ReplaySystem::ReplaySystem(ScriptedSystem& scripted, media::System& window, int skipRounds)
    : scripted_(scripted), window_(window), skipRounds_(skipRounds) {
  *showing_ = skipRounds_ == 0;
}

void ReplaySystem::SetGame(const state::GameState* game) {
  game_ = game;
  scripted_.SetGame(game);
}

std::shared_ptr<media::Root> ReplaySystem::CreateRoot() {
  std::shared_ptr<media::Root> window = window_.CreateRoot();
  if (!windowKeys_) {
    windowKeys_ = window->CreateInput()->CreateKeyboardDevice();
    windowKeys_->Acquire();
  }
  return std::make_shared<ReplayRoot>(window, scripted_.CreateRoot(), showing_);
}

bool ReplaySystem::Showing() const { return roundsStarted_ > skipRounds_ || skipRounds_ == 0; }

bool ReplaySystem::BeginPass() {
  if (stopped_ || !scripted_.BeginPass()) return false;
  if (game_) {
    if (lastMode_ != state::kModePlaying && game_->gameMode == state::kModePlaying) {
      ++roundsStarted_;
    }
    lastMode_ = game_->gameMode;
  }
  *showing_ = Showing();
  if (!*showing_) return true;
  const uint32_t now = scripted_.GetTickCount();
  if (!paced_) {
    paced_ = true;
    realStart_ = std::chrono::steady_clock::now();
    scriptStart_ = now;
  }
  // Tick counts wrap at 2^32, and so does the time since the start.
  std::this_thread::sleep_until(realStart_ + std::chrono::milliseconds(now - scriptStart_));
  return true;
}

void ReplaySystem::DispatchMessages(media::WindowEvents& events) {
  scripted_.DispatchMessages(events);  // the recorded clicks
  StopOnWindowEvents stop(stopped_);
  window_.DispatchMessages(stop);
  if (!windowKeys_) return;
  media::KeyEvent keys[64];
  const int32_t count = windowKeys_->GetDeviceData(keys);
  for (int32_t i = 0; i < count; ++i) {
    if (keys[i].keyCode == state::kKeyEsc && keys[i].data == media::kKeyDown) stopped_ = true;
  }
}

namespace {

// A scratch game folder, removed with everything in it at the end.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "rapiko-replay-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      throw media::PlatformError("cannot make a scratch folder for the replay");
    }
    path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::string& Path() const { return path_; }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path_ + "/" + name, std::ios::binary | std::ios::trunc) << bytes;
  }

 private:
  std::string path_;
};

}  // namespace

int RunReplay(const std::string& path, const std::string& myPath, media::System& window,
              std::ostream& err) {
  const media::FileRead file = media::ReadWholeFile(path, kMaxRecordingBytes);
  if (!file.opened || !file.complete) {
    err << "cannot read the recording " << path << '\n';
    return 2;
  }
  try {
    ScratchFolder scratch;
    for (const auto& [name, limit] : {std::pair{"back.bmp", media::kMaxBmpFileBytes},
                                      std::pair{"rapdata.ini", typing::kMaxWordFileBytes},
                                      std::pair{"rapikosc.ini", ranking::kMaxRankingFileBytes}}) {
      const media::FileRead own = media::ReadWholeFile(myPath + name, limit);
      if (own.opened) scratch.Write(name, own.bytes);
    }
    for (const auto& [name, bytes] : NotedFiles(file.bytes)) scratch.Write(name, bytes);

    std::istringstream text(file.bytes);
    ScriptReader reader(text);
    std::ostream nowhere(nullptr);  // state and frame lines of the script go nowhere
    ScriptedSystem scripted(reader, nowhere);
    scripted.ReadPrologue();
    ReplaySystem replay(scripted, window, RoundsToSkip(file.bytes));
    auto game = std::make_unique<state::GameState>();
    replay.SetGame(game.get());
    const std::string folder = scratch.Path() + "/";
    const game::ReportLine report = [&err](const std::string& line) { err << line << '\n'; };
    game::StartUp(*game, replay, folder, {}, {.practiceKeys = NotedPracticeKeys(file.bytes)});
    game::RunMainLoop(*game, replay, folder, report);
    game::ShutDown(*game, replay, folder);
    return 0;
  } catch (const ScriptError& e) {
    err << path << ": " << e.what() << '\n';
    return 2;
  } catch (const std::runtime_error& e) {
    err << e.what() << '\n';
    return 1;
  }
}

int RoundsToSkip(const std::string& scriptText) {
  std::istringstream lines(scriptText);
  const std::string marker = "# replay from round ";
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(marker, 0) != 0) continue;
    const int round = std::atoi(line.c_str() + marker.size());
    return round > 1 ? round - 1 : 0;
  }
  return 0;
}

}  // namespace script
