// The program's entry point: the command line, then a real or a scripted run.
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/cli.h"
#include "game/lifecycle.h"
#include "media/sdl/system.h"
#include "ranking/ranking_file.h"
#include "script/run_script.h"
#include "state/game_state.h"

#ifndef RAPIKO_VERSION
#define RAPIKO_VERSION "0"
#endif

namespace {

int RunInteractive(const app::Options& options, const std::string& myPath) {
  try {
    media::SdlOptions sdl;
    sdl.window = options.window;
    sdl.scale = options.scale;
    std::unique_ptr<media::System> system = media::CreateSdlSystem(sdl);
    auto game = std::make_unique<state::GameState>();
    game::StartUp(*game, *system, myPath);
    game::RunMainLoop(*game, *system);
    game::ShutDown(*game, *system, myPath);
    return 0;
  } catch (const ranking::SaveError& e) {
    std::cerr << "rapiko: " << e.what() << '\n';
  } catch (const media::PlatformError& e) {
    std::cerr << "rapiko: " << e.what() << '\n';
  }
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  const auto options = app::ParseCommandLine(args, error);
  if (!options) {
    std::cerr << "rapiko: " << error << "\n\n" << app::UsageText();
    return 2;
  }
  if (options->help) {
    std::cout << app::UsageText();
    return 0;
  }
  if (options->version) {
    std::cout << "Rapiko " << RAPIKO_VERSION << '\n';
    return 0;
  }
  const std::string folder =
      options->dir.empty() ? app::ProgramFolder(argc > 0 ? argv[0] : "") : options->dir;
  const std::string myPath = game::MyPath(folder);
  if (options->headless) {
    return script::RunScriptedGame(options->script, myPath, std::cout, std::cerr);
  }
  return RunInteractive(*options, myPath);
}
