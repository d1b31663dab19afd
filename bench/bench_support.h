// What the Windows benches share: the process's CPU time (Wine's renderer threads included, as
// they run in the process), a wall clock, and a pump for the messages of the bench's windows.
#pragma once

#include <windows.h>

// Kernel and user time of the whole process so far, in seconds.
inline double CpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto seconds = [](const FILETIME& t) {
    return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) * 1e-7;
  };
  return seconds(kernel) + seconds(user);
}

// The performance counter in seconds.
inline double WallSeconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Dispatches every message waiting for this thread's windows.
inline void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}
