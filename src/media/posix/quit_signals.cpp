// Requests to quit on POSIX systems: hang-up, terminate and interrupt signals (and a closed pipe,
// which is none).
#include "media/quit_signals.h"

#include <csignal>
#include <initializer_list>

namespace media {
namespace {

// The one value a signal handler may set; the process has one of it.
volatile std::sig_atomic_t quitSignalled = 0;

void NoteQuitSignal(int) { quitSignalled = 1; }

}  // namespace

QuitSignalCatcher::QuitSignalCatcher() {
  struct sigaction action {};
  action.sa_handler = NoteQuitSignal;
  sigemptyset(&action.sa_mask);
  // Interrupted reads resume, so a scripted run reads its script whole.
  action.sa_flags = SA_RESTART;
  for (const int signal : {SIGHUP, SIGTERM, SIGINT}) sigaction(signal, &action, nullptr);
  // A reader of the output that stops early (`| head`) must not end the game
  // before it saves: the writes fail instead, and the game goes on.
  std::signal(SIGPIPE, SIG_IGN);
}

// The handlers stay: a signal on the way out still only notes the request.
QuitSignalCatcher::~QuitSignalCatcher() = default;

bool QuitSignalled() { return quitSignalled != 0; }

}  // namespace media
