// The system of a headless run: a virtual clock and input taken from a script.
#include "script/scripted_system.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include "game/game_files.h"
#include "media/png.h"
#include "script/state_json.h"

namespace script {

ScriptedSystem::ScriptedSystem(ScriptReader& reader, std::ostream& out)
    : reader_(reader), out_(out) {}

void ScriptedSystem::ReadPrologue() {
  bool first = true;
  while (auto cmd = reader_.Next()) {
    if (cmd->kind != Command::Kind::Start) {
      pending_ = std::move(cmd);
      return;
    }
    if (!first) throw ScriptError(cmd->line, "'start' is only allowed as the first command");
    platform_.SetTick(cmd->startTick);
    first = false;
  }
}

void ScriptedSystem::StartPass() {
  --passesLeft_;
  platform_.Advance(passMs_);
  platform_.ClearFrame();
}

bool ScriptedSystem::BeginPass() {
  if (passesLeft_ > 0) {
    StartPass();
    return true;
  }
  for (;;) {
    std::optional<Command> cmd;
    if (pending_) {
      cmd = std::move(pending_);
      pending_.reset();
    } else {
      cmd = reader_.Next();
    }
    if (!cmd) return false;
    if (cmd->kind == Command::Kind::Tick) {
      if (cmd->passes == 0) continue;
      passesLeft_ = cmd->passes;
      passMs_ = cmd->ms;
      StartPass();
      return true;
    }
    Execute(*cmd);
  }
}

void ScriptedSystem::Execute(const Command& cmd) {
  switch (cmd.kind) {
    case Command::Kind::Start:
      throw ScriptError(cmd.line, "'start' is only allowed as the first command");
    case Command::Kind::Down:
      platform_.QueueKey(cmd.keys[0], media::kKeyDown);
      break;
    case Command::Kind::Up:
      platform_.QueueKey(cmd.keys[0], 0);
      break;
    case Command::Kind::Press:
    case Command::Kind::Type:
      for (int32_t key : cmd.keys) {
        platform_.QueueKey(key, media::kKeyDown);
        platform_.QueueKey(key, 0);
      }
      break;
    case Command::Kind::Click:
    case Command::Kind::FocusOut:
    case Command::Kind::FocusIn:
      messages_.push_back(cmd.kind);
      break;
    case Command::Kind::State:
      if (game_) {
        out_ << StateJson(*game_, static_cast<int32_t>(platform_.Tick()), platform_.TakeSoundLog())
             << '\n'
             << std::flush;
      }
      break;
    case Command::Kind::Frame:
      out_ << FrameJson(platform_.FrameOps()) << '\n' << std::flush;
      break;
    case Command::Kind::Checksum:
      out_ << ChecksumJson(platform_.ScreenPixels(), platform_.ScreenPalette()) << '\n'
           << std::flush;
      break;
    case Command::Kind::Screenshot: {
      if (refuseWrites_) {
        refuseWrites_("script line " + std::to_string(cmd.line) + ": screenshot " + cmd.path +
                      " not written: a replay writes nothing");
        break;
      }
      if (myPath_) {
        if (const auto clash = game::ClashWithGameFiles(cmd.path, *myPath_, wordFile_)) {
          throw ScriptError(cmd.line, "screenshot: " + *clash);
        }
      }
      std::vector<uint8_t> pixels = platform_.ScreenPixels();
      pixels.resize(static_cast<size_t>(media::kScreenWidth) * media::kScreenHeight, 0);
      try {
        media::WritePng(cmd.path, pixels, media::kScreenWidth, media::kScreenHeight,
                        platform_.ScreenPalette());
      } catch (const media::PlatformError& e) {
        throw ScriptError(cmd.line, std::string("screenshot: ") + e.what());
      }
      break;
    }
    case Command::Kind::Tick:
      break;  // handled by BeginPass
  }
}

void ScriptedSystem::DispatchMessages(media::WindowEvents& events) {
  for (; !messages_.empty(); messages_.pop_front()) {
    switch (messages_.front()) {
      case Command::Kind::FocusOut:
        events.OnFocusLost();
        break;
      case Command::Kind::FocusIn:
        events.OnFocusGained();
        break;
      default:
        events.OnMouseDown();
        break;
    }
  }
}

}  // namespace script
