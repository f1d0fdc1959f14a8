// Requests to quit on Windows: Ctrl+C, Ctrl+Break and the closing of the console; the session's
// end.
#include "media/quit_signals.h"

#include <windows.h>

#include <atomic>

namespace media {
namespace {

std::atomic<bool> quitSignalled{false};

// Windows ends the program as soon as the answer to a closed console or to
// the end of the session is given: the answer waits, while the main thread
// saves, until the game ends the program itself (or the system stops
// waiting, after some seconds).
[[noreturn]] void WaitForTheGameToEnd() {
  for (;;) Sleep(INFINITE);
}

// Runs on a thread the system starts for it.
BOOL WINAPI OnConsoleEvent(DWORD event) {
  quitSignalled = true;
  if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) return TRUE;
  WaitForTheGameToEnd();
}

// A program that uses windows (this one does, through SDL) hears of logging
// off and shutting down through its top-level windows, never through its
// console. A window that is never shown, on a thread of its own, hears of
// them whether or not the game shows a window, and can wait there while the
// main thread saves; the game's own window could not, its thread being the
// one that saves.
LRESULT CALLBACK OnSessionMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_QUERYENDSESSION) return TRUE;
  if (message == WM_ENDSESSION && wParam) {
    quitSignalled = true;
    WaitForTheGameToEnd();
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

DWORD WINAPI WatchTheSession(void*) {
  WNDCLASSW session{};
  session.lpfnWndProc = OnSessionMessage;
  session.hInstance = GetModuleHandleW(nullptr);
  session.lpszClassName = L"RapikoSession";
  if (!RegisterClassW(&session)) return 0;
  if (!CreateWindowExW(0, session.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                       session.hInstance, nullptr)) {
    return 0;
  }
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}

}  // namespace

void CatchQuitSignals() {
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
  if (const HANDLE watcher = CreateThread(nullptr, 0, WatchTheSession, nullptr, 0, nullptr)) {
    CloseHandle(watcher);
  }
}

bool QuitSignalled() { return quitSignalled; }

}  // namespace media
