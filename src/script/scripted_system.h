// The system of a headless run: a virtual clock and input taken from a script.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "media/headless/headless.h"
#include "media/platform.h"
#include "script/script_parser.h"
#include "state/game_state.h"

namespace script {

class ScriptedSystem : public media::System {
 public:
  ScriptedSystem(ScriptReader& reader, std::ostream& out);

  // Reads the `start` lines before the first other command and sets the
  // clock. Start-up runs after this.
  void ReadPrologue();
  // The game whose state `state` prints; set once start-up has begun.
  void SetGame(const state::GameState* game) { game_ = game; }
  // A screenshot never goes over a file of the game folder myPath, nor over
  // the word file in play: it is a script error.
  void ProtectGameFiles(std::string myPath, std::string wordFile) {
    myPath_ = std::move(myPath);
    wordFile_ = std::move(wordFile);
  }
  // From now on a command that would write a file (`screenshot`) writes
  // nothing; notice says so in one line.
  void RefuseWrites(std::function<void(const std::string&)> notice) {
    refuseWrites_ = std::move(notice);
  }

  std::shared_ptr<media::Root> CreateRoot() override { return platform_.CreateRoot(); }
  uint32_t GetTickCount() override { return platform_.Tick(); }
  // Runs the script up to the next pass; false at its end.
  bool BeginPass() override;
  void DispatchMessages(media::WindowEvents& events) override;

  media::HeadlessPlatform& Platform() { return platform_; }

 private:
  void Execute(const Command& cmd);
  void StartPass();

  ScriptReader& reader_;
  std::ostream& out_;
  media::HeadlessPlatform platform_;
  const state::GameState* game_ = nullptr;
  std::optional<Command> pending_;  // the command that ended the prologue
  uint32_t passesLeft_ = 0;
  uint32_t passMs_ = 0;
  // Clicks and focus changes for the next message step, in script order.
  std::deque<Command::Kind> messages_;
  std::function<void(const std::string&)> refuseWrites_;
  std::optional<std::string> myPath_;
  std::string wordFile_;
};

}  // namespace script
