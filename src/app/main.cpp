// The program's entry point: the command line, then a real or a scripted run.
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "core/cli.h"
#include "core/game_state.h"
#include "core/lifecycle.h"
#include "media/sdl_system.h"
#include "ranking/ranking_file.h"
#include "script/run_script.h"

#ifndef RAPIKO_VERSION
#define RAPIKO_VERSION "0"
#endif

namespace {

int RunInteractive(const core::Options& options, const std::string& myPath) {
  try {
    media::SdlOptions sdl;
    sdl.window = options.window;
    sdl.scale = options.scale;
    std::unique_ptr<media::System> system = media::CreateSdlSystem(sdl);
    auto game = std::make_unique<core::GameState>();
    core::StartUp(*game, *system, myPath);
    core::RunMainLoop(*game, *system);
    core::ShutDown(*game, *system, myPath);
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
  const auto options = core::ParseCommandLine(args, error);
  if (!options) {
    std::cerr << "rapiko: " << error << "\n\n" << core::UsageText();
    return 2;
  }
  if (options->help) {
    std::cout << core::UsageText();
    return 0;
  }
  if (options->version) {
    std::cout << "Rapiko " << RAPIKO_VERSION << '\n';
    return 0;
  }
  const std::string folder =
      options->dir.empty() ? core::ProgramFolder(argc > 0 ? argv[0] : "") : options->dir;
  const std::string myPath = core::MyPath(folder);
  if (options->headless) {
    return script::RunScriptedGame(options->script, myPath, std::cout, std::cerr);
  }
  return RunInteractive(*options, myPath);
}
