#include "core/layer/pulse_clock.h"

#include <windows.h>

#include <cmath>

#include "core/render/layout_maths.h"

namespace {
// One pulse clock for every layer of every output, so that all markers pulse together.
DS_PulseClock g_PulseClock = nullptr;
}

float WallPulseTime() {
  const double seconds = static_cast<double>(GetTickCount64()) / 1000.0;
  return static_cast<float>(std::fmod(seconds, 4.0 * 3.14159265358979));
}

float PulseTime() { return g_PulseClock ? g_PulseClock() : WallPulseTime(); }

void SetPulseClock(DS_PulseClock clock) { g_PulseClock = clock; }

unsigned PulseAlpha(float t, float k) {
  const float s = std::sin(k * t);
  return static_cast<unsigned>(TruncateToInt(207.0f * s * s + 48.0f));
}
