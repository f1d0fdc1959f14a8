// Recording a game as a script: the seed, each pass's time, every key, click and focus change.
#pragma once

#include <cstdint>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "media/platform.h"
#include "state/game_state.h"

namespace script {

// The script lines of a session, as a headless run replays them: `start`,
// then per pass the key events the game read in it, the clicks and focus
// changes of its message step, and `tick MS`. Runs of equal ticks are written as one
// `tick MS N`.
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
  void Finish();

 private:
  std::string path_;
  std::ofstream out_;
  Recording recording_;
};

// A system that records what another one delivers to the game: the tick
// count at start-up, each pass's elapsed time, the keys the game reads and
// the clicks, close requests and focus changes of the message steps.
class RecordingSystem : public media::System {
 public:
  RecordingSystem(media::System& inner, Recording& recording);

  // With the game, each round's start is noted in the recording ("# round
  // N"), and onRoundEnd is called after the pass that ends a round (not for
  // a round ended by quitting).
  void SetGame(const state::GameState* game,
               std::function<void(int round, int32_t score)> onRoundEnd = {});

  std::shared_ptr<media::Root> CreateRoot() override;
  uint32_t GetTickCount() override;
  bool BeginPass() override;
  void DispatchMessages(media::WindowEvents& events) override;

 private:
  media::System& inner_;
  Recording& recording_;
  bool started_ = false;    // the first tick count read (start-up's seed) is the `start`
  bool passBegun_ = false;  // the next read is a pass's own
  bool inPass_ = false;     // between a pass's read and its message step
  uint32_t lastTick_ = 0;
  uint32_t pendingMs_ = 0;  // the elapsed time of the pass under way
  const state::GameState* game_ = nullptr;
  std::function<void(int, int32_t)> onRoundEnd_;
  int16_t lastMode_ = state::kModeTitle;
  int rounds_ = 0;
};

// A file's bytes as one comment line of a recording, "# file NAME BASE64",
// and back: a recording carries the word list and the ranking it began
// with, so that it replays the same anywhere.
std::string FileNote(const std::string& name, const std::string& bytes);
// The files noted in a script's text, by name.
std::vector<std::pair<std::string, std::string>> NotedFiles(const std::string& scriptText);

// A practice session's weak keys as a comment line, "# practice Q W P", and
// back (nothing when the script has no such line): its words depend on them.
std::string PracticeNote(const std::vector<int16_t>& keys);
std::optional<std::vector<int16_t>> NotedPracticeKeys(const std::string& scriptText);

}  // namespace script
