// Start-up, the main loop and shutdown of the program.
#include "core/lifecycle.h"

#include "core/devices.h"
#include "core/frame_tick.h"
#include "core/title.h"
#include "ranking/ranking_file.h"
#include "typing/key_tables.h"
#include "typing/word_data.h"

namespace core {

namespace {

// Window messages: any mouse button, or closing the window, quits after
// the current pass.
class QuitOnWindowEvents : public media::WindowEvents {
 public:
  explicit QuitOnWindowEvents(GameState& g) : g_(g) {}
  void OnMouseDown() override { g_.quitRequested = true; }
  void OnCloseRequest() override { g_.quitRequested = true; }

 private:
  GameState& g_;
};

// The start-up values are those of a round reset, on the title screen.
void SetStartValues(GameState& g) {
  ResetRound(g);
  g.gameMode = kModeTitle;
  g.quitRequested = false;
}

}  // namespace

std::string MyPath(const std::string& folder) {
  if (!folder.empty() && folder.back() == '/') return folder;
  return folder + '/';
}

int32_t ElapsedMs(uint32_t now, uint32_t last) {
  // Unsigned subtraction is modulo 2^32; the result read as signed is the
  // true small difference even where the signed counter overflows.
  return static_cast<int32_t>(now - last);
}

void StartUp(GameState& g, media::System& system, const std::string& myPath) {
  InitDisplay(g, system, myPath);
  InitSound(g, system);
  InitKeyboard(g, system);
  typing::BuildKeyTables(g);
  ranking::LoadRanking(g, myPath);
  g.rng.Seed(system.GetTickCount());
  typing::LoadWordData(g, myPath);
  SetStartValues(g);
}

void RunMainLoop(GameState& g, media::System& system) {
  QuitOnWindowEvents events(g);
  uint32_t lastTick = system.GetTickCount();
  for (;;) {
    if (!system.BeginPass() || g.quitRequested) break;
    const uint32_t now = system.GetTickCount();
    int32_t elapsedMs = ElapsedMs(now, lastTick);
    lastTick = now;
    FrameTick(g, elapsedMs);
    system.DispatchMessages(events);
  }
}

void ShutDown(GameState& g, media::System& system, const std::string& myPath) {
  ranking::SaveRanking(g, myPath);
  if (g.ddraw) {
    g.ddraw->RestoreDisplayMode();
    g.ddraw->SetCooperativeLevel(media::CooperativeLevel::Normal);
  }
  QuitOnWindowEvents events(g);
  system.DispatchMessages(events);
  g.screenPalette.reset();
  g.backBuffer.reset();
  g.primarySurface.reset();
  g.ddraw.reset();
  g.sndKyan.reset();
  g.sndShot.reset();
  g.sndHit.reset();
  g.sndFueen.reset();
  g.sndStart.reset();
  g.sndEnd.reset();
  g.sndType.reset();
  g.dsound.reset();
  if (g.keyboard) g.keyboard->Unacquire();
  g.dinput.reset();
  g.keyboard.reset();
  g.dx.reset();
}

}  // namespace core
