// Requests to quit on Windows: Ctrl+C, Ctrl+Break and the closing of the console; the session's
// end.
#include "media/quit_signals.h"

#include <windows.h>

#include <atomic>

namespace media {
namespace {

std::atomic<bool> quitSignalled{false};
// The thread that hears the session's end, and whether it holds the answer
// the system waits for (it then waits for the program's end).
HANDLE watcher = nullptr;
DWORD watcherId = 0;
std::atomic<bool> watcherHoldsTheEnd{false};

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
    watcherHoldsTheEnd = true;
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

QuitSignalCatcher::QuitSignalCatcher() {
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
  watcher = CreateThread(nullptr, 0, WatchTheSession, nullptr, 0, &watcherId);
}

QuitSignalCatcher::~QuitSignalCatcher() {
  if (!watcher) return;
  // Its queue may not exist yet: the quit is posted until it is taken or the
  // thread has ended. A watcher that holds the session's end never returns.
  if (!watcherHoldsTheEnd) {
    const ULONGLONG end = GetTickCount64() + 2000;
    while (!PostThreadMessageW(watcherId, WM_QUIT, 0, 0) &&
           WaitForSingleObject(watcher, 1) == WAIT_TIMEOUT && GetTickCount64() < end) {
    }
    const ULONGLONG now = GetTickCount64();
    WaitForSingleObject(watcher, now < end ? static_cast<DWORD>(end - now) : 0);
  }
  CloseHandle(watcher);
  watcher = nullptr;
}

bool QuitSignalled() { return quitSignalled; }

}  // namespace media
