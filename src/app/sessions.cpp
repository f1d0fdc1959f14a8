// The two ways a player's session runs: played in the window, or a recording shown there.
#include "app/sessions.h"

#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <tuple>

#include "app/online_play.h"
#include "app/window.h"
#include "game/options_screen.h"
#include "game/session.h"
#include "media/quit_signals.h"
#include "ranking/ranking_file.h"
#include "replay/best_rounds.h"
#include "replay/notes.h"
#include "replay/recording_system.h"
#include "replay/replay_system.h"
#include "replay/round_start.h"
#include "script/scripted_system.h"
#include "storage/read.h"
#include "typing/word_data.h"

namespace app {
namespace {

// Hundreds of hours of play; no recording comes near it.
constexpr std::size_t kMaxRecordingBytes = std::size_t{256} << 20;

void Tell(const std::string& line) { std::cerr << "rapiko: " << line << '\n'; }

// The last round's line of the title (level, levels, score): a round watched
// between two sessions does not wipe it.
struct TitleLine {
  int32_t level = 0;
  int32_t maxLevel = 0;
  int32_t score = 0;
};

// One session in the window, recorded; what the player asked to watch, if
// anything, and the title's line as the session left it.
int PlaySession(const Options& options, const std::string& myPath, const std::string& wordFile,
                const state::Choices& choices, media::System& window, state::Choices& after,
                std::optional<TitleLine>& titleLine) {
  replay::Recording memory;
  std::unique_ptr<replay::RecordingFile> file;
  if (!options.record.empty()) file = std::make_unique<replay::RecordingFile>(options.record);
  replay::Recording& recording = file ? file->Get() : memory;
  const storage::FileRead words = storage::ReadWholeFile(wordFile, typing::kMaxWordFileBytes);
  const storage::FileRead rankingFile =
      storage::ReadWholeFile(ranking::RankingPathToRead(myPath, choices.listName, choices.listId),
                             ranking::kMaxRankingFileBytes);
  const auto note = [&recording](const std::string& name, const std::string& bytes) {
    for (const std::string& line : replay::FileNotes(name, bytes)) recording.Note(line);
  };
  if (words.complete) note(typing::kWordFileName, words.bytes);
  if (rankingFile.complete) note(ranking::kRankingFileName, rankingFile.bytes);
  replay::RecordingSystem system(window, recording);
  // An online round is dealt from its ticket before the best rounds note its start.
  std::unique_ptr<online::OnlineRounds> online;
  state::GameState* game = nullptr;
  if (std::optional<online::Setup> setup = OnlineSetup(choices.online, choices.tokenSettingsPath)) {
    setup->background = true;
    setup->settled = [&game](const online::Outcome& outcome) {
      if (game) game->onlineNote = OnlineNote(*game, outcome);
      Tell("online: " + online::OutcomeLine(outcome));
    };
    // The last round's note would stand for this one's until its answer is in.
    setup->sending = [&game] {
      if (!game) return;
      state::GameState& g = *game;
      g.onlineNote = state::Tr(g, "Online: sending the round...");
    };
    // A round of the online board chosen to watch ends the game's loop as a kept round does.
    if (choices.canWatch) {
      setup->watch = [&game](const online::Watched& watched) {
        if (!game || watched.text.empty()) return;
        game->choices.watch = "online round " + std::to_string(watched.round);
        game->choices.watchText = watched.text;
        game->quitRequested = true;
      };
    }
    online = std::make_unique<online::OnlineRounds>(*setup, recording);
  }
  replay::BestRounds best(myPath, recording);
  game::Session session{.myPath = myPath,
                        .wordFile = wordFile,
                        .options = {.practice = choices.practice, .choices = choices},
                        .report = Tell};
  session.attach = [&](const state::GameState& g) {
    std::vector<replay::RoundEvents*> rounds{&best};
    if (online) rounds.insert(rounds.begin(), online.get());
    system.SetGame(&g, rounds);
  };
  session.started = [&](state::GameState& g) {
    if (g.choices.practice) recording.Note(replay::PracticeNote(g.progress.practiceKeys));
    if (titleLine) {
      std::tie(g.level, g.maxLevel, g.score) =
          std::tie(titleLine->level, titleLine->maxLevel, titleLine->score);
    }
    game = &g;
    if (online) {
      online->SetGame(&g);
      game::WarnOfPlainHttp(g);  // here too, not only on standard error
    }
  };
  session.ended = [&](const state::GameState& g) {
    after = g.choices;
    titleLine = TitleLine{g.level, g.maxLevel, g.score};
    // What is still to send is sent before the game ends.
    if (online) online->Finish(g);
    game = nullptr;
  };
  const int status = game::RunSession(system, session);
  // Every failed write is told: the recording's too when the ranking's failed.
  if (file) file->Finish();
  return status;
}

}  // namespace

// Every session is recorded, so that its best round can be kept; with
// --record the recording also goes to a file as it is played. It starts
// with the word list played and the ranking as they were, so it replays
// the same.
int RunInteractive(const Options& options, const std::string& myPath, const std::string& wordFile,
                   const state::Choices& choices) {
  try {
    Options windowOptions = options;
    windowOptions.window = !choices.fullscreen;
    windowOptions.scale = choices.scale;
    windowOptions.keysByPosition = choices.keysByPosition;
    windowOptions.mute = !choices.sound;
    std::unique_ptr<media::System> window = OpenWindow(windowOptions);
    state::Choices now = choices;
    // A recording file follows one game from its start: none to watch then.
    now.canWatch = options.record.empty();
    std::string words = wordFile;
    std::optional<TitleLine> titleLine;
    for (;;) {
      state::Choices after = now;
      const int status = PlaySession(options, myPath, words, now, *window, after, titleLine);
      if (status != 0 || after.watch.empty()) return status;
      // The kept round the player chose (or the online round fetched), then the game again
      // with the choices as the player left them.
      if (!after.watchText.empty()) {
        PlayRecording(after.watch, after.watchText, myPath, *window, std::cerr, {}, after.language);
      } else if (const storage::FileRead kept =
                     storage::ReadWholeFile(after.watch, kMaxRecordingBytes);
                 kept.complete) {
        PlayRecording(after.watch, kept.bytes, myPath, *window, std::cerr, {}, after.language);
      }
      // Ended from outside while it was shown: the game had saved before.
      if (media::QuitSignalled()) return 0;
      words = after.wordFile;
      after.watch.clear();
      after.watchText.clear();
      now = after;
    }
  } catch (const std::runtime_error& e) {  // no window, or the recording could not be written
    Tell(e.what());
  }
  return 1;
}

int PlayRecording(const std::string& name, const std::string& text, const std::string& myPath,
                  media::System& window, std::ostream& err,
                  const std::function<void(const state::GameState&)>& ended,
                  media::Language language) {
  try {
    std::istringstream lines(text);
    script::ScriptReader reader(lines);
    std::ostream nowhere(nullptr);  // state and frame lines of the script go nowhere
    script::ScriptedSystem scripted(reader, nowhere);
    // A replay writes nothing, a screenshot the recording asks for included.
    scripted.RefuseWrites([&err](const std::string& line) { err << line << '\n'; });
    scripted.ReadPrologue();
    replay::ReplaySystem replay(scripted, window, replay::RoundsToSkip(text));
    // The words and the ranking the recording began with, where it carries them.
    game::Session session{.myPath = myPath,
                          .options = replay::RecordedStart(text, language),
                          .report = [&err](const std::string& line) { err << line << '\n'; },
                          // about what the recording carries, not the player's folder
                          .notes = [](const std::string&) {},
                          .ended = ended};
    session.attach = [&](const state::GameState& g) {
      scripted.SetGame(&g);
      replay.SetGame(&g);
    };
    // A kept best round starts where its round started.
    const std::optional<std::string> resume = replay::NotedResume(text);
    session.started = [&resume](state::GameState& g) {
      if (resume) replay::ApplyResume(g, *resume);
    };
    return game::RunSession(replay, session);
  } catch (const script::ScriptError& e) {
    err << name << ": " << e.what() << '\n';
    return 2;
  } catch (const std::runtime_error& e) {
    err << e.what() << '\n';
    return 1;
  }
}

int RunReplay(const Options& options, const std::string& myPath, media::Language language) {
  const storage::FileRead file = storage::ReadWholeFile(options.replay, kMaxRecordingBytes);
  if (!file.opened || !file.complete) {
    std::cerr << "cannot read the recording " << options.replay << '\n';
    return 2;
  }
  try {
    std::unique_ptr<media::System> window = OpenWindow(options);
    return PlayRecording(options.replay, file.bytes, myPath, *window, std::cerr, {}, language);
  } catch (const media::PlatformError& e) {
    Tell(e.what());
    return 1;
  }
}

}  // namespace app
