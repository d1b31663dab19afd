// Small numeric helpers shared by the brush effects, object systems and sounds.
#pragma once

// Smooth one-dimensional value noise with integer lattice points, about -1..1 (x >= 0).
double ValueNoise1D(double x);
// Sum over i < count of persistence^i x ValueNoise1D(2^i x x / scale); 0 when count <= 0.
double FractalNoise1D(double x, double scale, double persistence, int count);
// a + rand() / 32767 x (b - a) in single precision; both bounds can be reached.
float RandomInRange(float a, float b);
