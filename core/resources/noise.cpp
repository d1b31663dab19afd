#include "core/resources/noise.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

// The lattice hash runs in wrapping 32-bit arithmetic; unsigned keeps the wrap defined.
double LatticeValue(int32_t lattice) {
  uint32_t n = static_cast<uint32_t>(lattice);
  n ^= n << 13;
  const uint32_t h = (n * (n * n * 15731u + 789221u) - 771171059u) & 0x7FFFFFFFu;
  return 1.0 - static_cast<double>(h) / 1073741824.0;
}

// base^exponent by repeated squaring in extended precision.
long double IntegerPower(long double base, int exponent) {
  long double result = 1.0L;
  while (exponent > 0) {
    if (exponent & 1) result *= base;
    base *= base;
    exponent >>= 1;
  }
  return result;
}

}  // namespace

double ValueNoise1D(double x) {
  const double truncated = std::trunc(x);
  const int32_t i = truncated >= 2147483647.0 ? INT32_MAX
                    : truncated <= -2147483648.0 ? INT32_MIN
                                                 : static_cast<int32_t>(truncated);
  const double f = x - truncated;
  const double w = (1.0 - std::cos(f * 3.14159265358979323846)) / 2.0;
  const int32_t next = static_cast<int32_t>(static_cast<uint32_t>(i) + 1u);
  return LatticeValue(i) * (1.0 - w) + LatticeValue(next) * w;
}

double FractalNoise1D(double x, double scale, double persistence, int count) {
  double sum = 0.0;
  for (int i = 0; i < count; ++i) {
    const long double frequency = IntegerPower(2.0L, i);
    const long double amplitude = IntegerPower(persistence, i);
    sum += static_cast<double>(amplitude * ValueNoise1D(static_cast<double>(frequency * x / scale)));
  }
  return sum;
}

float RandomInRange(float a, float b) {
  // The runtime of the saver draws 0..32767; the mask keeps other runtimes in the same range.
  const float unit = static_cast<float>(std::rand() & 0x7FFF) / 32767.0f;
  return a + unit * (b - a);
}
