// Start-up, the main loop and shutdown of the program.
#include "game/lifecycle.h"

#include <cstddef>

#include "game/devices.h"
#include "game/frame_tick.h"
#include "game/title.h"
#include "media/messages.h"
#include "media/quit_signals.h"
#include "ranking/name_entry.h"
#include "ranking/ranking_file.h"
#include "ranking/ranking_save.h"
#include "stats/history_file.h"
#include "stats/round_history.h"
#include "storage/folder_lock.h"
#include "storage/paths.h"
#include "storage/write.h"
#include "typing/key_tables.h"
#include "typing/word_data.h"

namespace game {

namespace {

// Window messages: any mouse button, or closing the window, quits after
// the current pass; the focus pauses and resumes a round.
class GameWindowEvents : public media::WindowEvents {
 public:
  explicit GameWindowEvents(state::GameState& g) : g_(g) {}
  void OnMouseDown() override { g_.quitRequested = true; }
  void OnCloseRequest() override { g_.quitRequested = true; }
  void OnFocusLost() override { g_.hasFocus = false; }
  void OnFocusGained() override { g_.hasFocus = true; }

 private:
  state::GameState& g_;
};

// The start-up values are those of a round reset, on the title screen.
void SetStartValues(state::GameState& g) {
  ResetRound(g);
  g.gameMode = state::kModeTitle;
  g.quitRequested = false;
}

// The temporaries of games killed while writing, under the lock (every
// writer holds it while its temporary exists). A lock that cannot be had
// leaves them for the next start.
void RemoveLeftOvers(const std::string& myPath) {
  try {
    storage::FolderLock lock(myPath);
    if (lock.Held()) storage::RemoveStaleTemporaries(myPath);
  } catch (const storage::LockError&) {
  }
}

}  // namespace

std::string MyPath(const std::string& folder) { return storage::FolderPath(folder); }

int32_t ElapsedMs(uint32_t now, uint32_t last) {
  // Unsigned subtraction is modulo 2^32; the result read as signed is the
  // true small difference even where the signed counter overflows.
  return static_cast<int32_t>(now - last);
}

std::vector<std::string> StartUp(state::GameState& g, media::System& system,
                                 const std::string& myPath, const std::string& wordFile,
                                 const StartOptions& options) {
  std::vector<std::string> notes;
  g.choices = options.choices;
  g.choices.folder = myPath;
  g.choices.wordFile = wordFile.empty() ? myPath + typing::kWordFileName : wordFile;
  g.choices.practice = options.practice || options.practiceKeys.has_value();
  g.choices.replay = options.readOnly;
  g.controls = system.GetControls();
  // A game that could never save says so before anything opens.
  if (!options.readOnly) ranking::CheckFolderWritable(myPath);
  InitDisplay(g, system, myPath);
  InitSound(g, system);
  InitKeyboard(g, system);
  typing::BuildKeyTables(g);
  const std::string rankingNote = options.rankingBytes
                                      ? ranking::LoadRankingFromBytes(g, *options.rankingBytes)
                                      : ranking::LoadRanking(g, myPath);
  if (!rankingNote.empty()) notes.push_back(rankingNote);
  g.rng.Seed(system.GetTickCount());
  const std::string& words = g.choices.wordFile;
  const typing::WordReport report = options.wordBytes
                                        ? typing::LoadWordDataFromBytes(g, *options.wordBytes)
                                        : typing::LoadWordData(g, words);
  const std::string wordNote = typing::DescribeWordReport(report, words);
  if (!wordNote.empty()) notes.push_back(wordNote);
  SetStartValues(g);
  if (!options.readOnly) {
    stats::KeepHistory(g, myPath);
    // Only once nothing of start-up can fail: a start-up that fails leaves
    // the folder as it found it, with no lock file made.
    RemoveLeftOvers(myPath);
  }
  if (options.practiceKeys) {
    g.progress.practiceKeys = *options.practiceKeys;
  } else if (options.practice) {
    stats::LoadPracticeKeys(g);
  }
  return notes;
}

void RunMainLoop(state::GameState& g, media::System& system, const std::string& myPath,
                 const ReportLine& report, bool readOnly) {
  GameWindowEvents events(g);
  uint32_t lastTick = system.GetTickCount();
  std::size_t triedResults = 0;  // unsaved results the last save attempt had
  std::size_t triedRounds = 0;   // the same for finished rounds not yet in the history
  for (;;) {
    if (!system.BeginPass()) break;
    if (media::QuitSignalled() && !g.quitRequested) {
      // Ended from outside: a result whose name is being typed still counts.
      ranking::EnterNameNow(g);
      g.quitRequested = true;
    }
    if (g.quitRequested) break;
    const uint32_t now = system.GetTickCount();
    int32_t elapsedMs = ElapsedMs(now, lastTick);
    lastTick = now;
    FrameTick(g, elapsedMs);
    // What is around the game (a web page) follows its language and its rounds.
    if (g.controls) {
      g.controls->FollowGame(media::LanguageCode(g.choices.language),
                             g.gameMode != state::kModeTitle);
    }
    // A result is saved the moment it is entered, so that a crash or a lost
    // display cannot take it; a failed save is retried at the next entry
    // and at shutdown.
    if (!readOnly && g.unsavedResults.size() > triedResults) {
      triedResults = g.unsavedResults.size();
      try {
        ranking::SaveRanking(g, myPath);
        triedResults = 0;
      } catch (const ranking::SaveError& e) {
        report(e.what());
      }
    }
    // So is a finished round appended to the history; one that cannot be
    // written waits for the next round's end.
    if (!readOnly && g.progress.unsavedRounds.size() > triedRounds) {
      triedRounds = g.progress.unsavedRounds.size();
      try {
        stats::SaveFinishedRounds(g, myPath);
        triedRounds = 0;
      } catch (const stats::HistoryError& e) {
        report(e.what());
      }
    }
    system.DispatchMessages(events);
  }
}

void ShutDown(state::GameState& g, media::System& system, const std::string& myPath,
              bool readOnly) {
  // Leaving to watch a kept round is no end of the game: the ranking is
  // written only when something is left to save.
  const bool nothingNew = !g.choices.watch.empty() && g.unsavedResults.empty() && !g.unsavedName;
  if (!readOnly && !nothingNew) ranking::SaveRanking(g, myPath);
  if (g.ddraw) {
    g.ddraw->RestoreDisplayMode();
    g.ddraw->SetCooperativeLevel(media::CooperativeLevel::Normal);
  }
  GameWindowEvents events(g);
  system.DispatchMessages(events);
  g.screenPalette.reset();
  g.backBuffer.reset();
  g.primarySurface.reset();
  g.ddraw.reset();
  for (const state::SoundField& sound : state::kSoundFields) (g.*sound.buffer).reset();
  g.dsound.reset();
  if (g.keyboard) g.keyboard->Unacquire();
  g.dinput.reset();
  g.keyboard.reset();
  g.dx.reset();
}

}  // namespace game
