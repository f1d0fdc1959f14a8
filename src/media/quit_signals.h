// Requests from the system to end the game, which end it the way Esc does.
#pragma once

namespace media {

// Installs what hears them: on Linux the hang-up, terminate and interrupt
// signals; on Windows Ctrl+C and Ctrl+Break, the closing of the console, and
// the end of the session (logging off, shutting down). Each only notes the
// request: the main loop ends at its next pass, and shutdown saves the
// ranking as after Esc. Where the system ends the program as soon as the
// request is answered (a closed console, the end of the session), the answer
// waits until the game has saved and ended by itself. On Linux a closed
// pipe on the output is ignored, so a reader that stops early ends nothing.
// They are heard for as long as the catcher lives: on Windows its end also
// ends the thread that listens for the session's end, so that the program
// ends with its main thread alone (Wine now and then kills a program that
// ends while that thread still waits for its messages).
class QuitSignalCatcher {
 public:
  QuitSignalCatcher();
  ~QuitSignalCatcher();
  QuitSignalCatcher(const QuitSignalCatcher&) = delete;
  QuitSignalCatcher& operator=(const QuitSignalCatcher&) = delete;
};

// True once such a request has come.
bool QuitSignalled();

}  // namespace media
