// The clock of the pulsing marker and quad alphas, in seconds. The wall clock by default; the
// scene viewer sets the application time so that its pictures do not depend on when they ran.
#pragma once

using DS_PulseClock = float (*)();

// Seconds of the wall clock folded into 0..4 pi, a whole number of periods of both pulses
// (sin(2.5t) squared and sin(5t) squared), so that single precision stays fine-grained.
float WallPulseTime();
float PulseTime();
void SetPulseClock(DS_PulseClock clock);  // null: the wall clock again

// The alpha byte of the pulses: trunc(207 s^2 + 48) with s = sin(k t), 48..255.
unsigned PulseAlpha(float t, float k);
