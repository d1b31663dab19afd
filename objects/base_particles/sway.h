// The lean of a swaying sprite (flowers, grass): a sway value d in -1..1 and an amplitude in
// degrees give the angle a = 180 - (d x amplitude + 90) degrees, and the returned 1 / tan(a) is
// the x of the height axis (e, 1, 0), so the top leans by up to the amplitude.
#pragma once

#include <cmath>

inline float SwayLean(float d, float amplitudeDegrees) {
  const float a = (180.0f - (d * amplitudeDegrees + 90.0f)) * 2.0f * 3.1415927f / 360.0f;
  return 1.0f / std::tan(a);
}
