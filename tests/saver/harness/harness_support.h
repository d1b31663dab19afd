// What the test harnesses share: their log and the way they run the application.
// The log: one "t=<ms> key=value ..." line per event, t counted from OpenHarnessLog, appended to
// the file an environment variable names and flushed line by line, so that a run the test ends
// keeps every line it wrote. Without the variable nothing is logged.
#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <cstdarg>
#include <cstdio>
#include <string>

#include "saver/saver_shell.h"
#include "sound/sound_device.h"

namespace harness_log_detail {
inline FILE* g_File = nullptr;
inline LARGE_INTEGER g_Start = {};
inline LARGE_INTEGER g_Frequency = {};
}  // namespace harness_log_detail

// An environment variable's value; empty when it is unset or longer than the buffer.
inline std::wstring HarnessEnv(const wchar_t* name) {
  wchar_t buffer[1024];
  const DWORD n = GetEnvironmentVariableW(name, buffer, 1024);
  return n > 0 && n < 1024 ? std::wstring(buffer, n) : std::wstring();
}

// Starts the clock and opens the file `variable` names (a Windows path), if it names one.
inline void OpenHarnessLog(const wchar_t* variable) {
  using namespace harness_log_detail;
  QueryPerformanceFrequency(&g_Frequency);
  QueryPerformanceCounter(&g_Start);
  const std::wstring path = HarnessEnv(variable);
  if (!path.empty()) g_File = _wfopen(path.c_str(), L"a");
}

inline void CloseHarnessLog() {
  using namespace harness_log_detail;
  if (g_File != nullptr) std::fclose(g_File);
  g_File = nullptr;
}

// Seconds since OpenHarnessLog.
inline double HarnessSeconds() {
  using namespace harness_log_detail;
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart - g_Start.QuadPart) / static_cast<double>(g_Frequency.QuadPart);
}

inline void HarnessLog(const char* format, ...) {
  using namespace harness_log_detail;
  if (g_File == nullptr) return;
  va_list args;
  va_start(args, format);
  std::fprintf(g_File, "t=%lu ", static_cast<unsigned long>(HarnessSeconds() * 1000.0));
  std::vfprintf(g_File, format, args);
  std::fputc('\n', g_File);
  std::fflush(g_File);
  va_end(args);
}

// GDI+ for the pictures, up until the process ends, as the saver starts it.
inline void StartHarnessGdiplus() {
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartupInput input;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);
}

// Runs the application as the saver's WinMain runs it (Prepare, then Execute) with its state
// logged after each (App::LogState), then, once the application is gone, releases the sound
// device as the saver does and closes the log. Execute's result.
template <class App>
int RunHarnessApp(HINSTANCE instance) {
  int result = 0;
  {
    App app;
    app.CSaverShell::Prepare(instance);
    app.LogState("prepared");
    result = app.CSaverShell::Execute();
    app.LogState("executed");
  }
  ReleaseSoundDevice();
  CloseHarnessLog();
  // As the saver does: everything is released and written, so the process ends at once, before
  // the libraries' own teardown in Wine's audio and media drivers, which can hang or crash at a
  // normal exit and get the process killed.
  std::fflush(nullptr);
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(result));
  return result;
}
