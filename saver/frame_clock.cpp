#include "saver/frame_clock.h"

#include <windows.h>
#include <mmsystem.h>

namespace {

struct FrameClock {
  bool initialised = false;
  bool usePerformanceCounter = false;
  double frequency = 1.0;
  double baseTime = 0.0;
  double stopTime = 0.0;
  bool stopped = true;
};

// One clock for the main loop, which draws every output at the same time.
FrameClock g_Clock;

// The raw clock in its own units: counter ticks, or milliseconds of the multimedia timer.
double ReadRaw() {
  if (!g_Clock.initialised) {
    LARGE_INTEGER frequency;
    g_Clock.usePerformanceCounter = QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0;
    g_Clock.frequency = g_Clock.usePerformanceCounter ? static_cast<double>(frequency.QuadPart) : 1000.0;
    g_Clock.initialised = true;
  }
  if (g_Clock.usePerformanceCounter) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart);
  }
  return static_cast<double>(timeGetTime());
}

}  // namespace

void StartFrameClock() {
  const double now = ReadRaw();
  if (g_Clock.stopped) {
    g_Clock.baseTime += now - g_Clock.stopTime;
    g_Clock.stopped = false;
  }
}

double FrameClockSeconds() {
  const double now = ReadRaw();
  return (now - g_Clock.baseTime) / g_Clock.frequency;
}
