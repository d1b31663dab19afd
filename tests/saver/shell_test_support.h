// A framework object whose protected steps the tests can call, and a runner that bounds a
// scenario in time (a scenario that would hang or spin fails instead of blocking the suite).
#pragma once

#include <windows.h>

#include <functional>

#include "saver/saver_shell.h"

class TestShell : public CSaverShell {
 public:
  using CSaverShell::ErrorBoxMonitor;
  using CSaverShell::Execute;
  using CSaverShell::FindMonitors;
  using CSaverShell::MoveErrorBox;
  using CSaverShell::OpenSaverWindows;
  using CSaverShell::SetError;
  using CSaverShell::WaitForPreviewTimer;

  TestShell() { m_Instance = GetModuleHandleW(nullptr); }

  // One full-screen monitor record at the origin with its window, as OpenSaverWindows makes it.
  HWND OpenFullScreen(LONG width, LONG height) {
    m_RunMode = RunMode_FullScreen;
    m_MonitorCount = 1;
    m_Monitors[0].screenRect = RECT{0, 0, width, height};
    m_Monitors[0].monitor = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    m_Monitors[0].adapterIndex = -1;
    return OpenSaverWindows() == 0 ? m_MainWindow : nullptr;
  }

  HWND OpenTestWindow() {
    m_RunMode = RunMode_TestWindow;
    m_MonitorCount = 1;
    return OpenSaverWindows() == 0 ? m_MainWindow : nullptr;
  }
};

struct ScenarioContext {
  std::function<void()> run;
};

inline DWORD WINAPI RunScenario(LPVOID data) {
  auto* context = static_cast<ScenarioContext*>(data);
  context->run();
  delete context;  // the thread's windows and any quit message it left go with the thread
  return 0;
}

// Runs the scenario on a thread of its own; false when it did not finish within the time.
inline bool FinishesWithin(DWORD ms, std::function<void()> scenario) {
  auto* context = new ScenarioContext{std::move(scenario)};
  HANDLE thread = CreateThread(nullptr, 0, RunScenario, context, 0, nullptr);
  const bool finished = WaitForSingleObject(thread, ms) == WAIT_OBJECT_0;
  CloseHandle(thread);
  return finished;  // a thread that hangs is left behind; the process ends after the tests
}

// Drops a WM_QUIT that a shutdown sequence may have posted to this thread.
inline void DrainQuit() {
  MSG message;
  while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}
