// The light's multiplier in its effect: pulsing, blinking or flickering up to its intensity.
#include <gtest/gtest.h>

#include <cmath>

#include "brushes/light_fx/ds_light_fx.h"
#include "core/resources/noise.h"
#include "tests/brushes/brush_parameters_fixture.h"

namespace brush_test {
namespace {

TEST_F(BrushParameters, LightPulsesBlinksOrFlickersUpToItsIntensity) {
  const double p1 = 4.0, p2 = 20.0;  // phases after 0.1 s and 0.5 s at 40 per second
  const double pulse1 = (std::sin(0.2 * p1) + 1) * 0.5, pulse2 = (std::sin(0.2 * p2) + 1) * 0.5;
  const auto flicker = [](double p) {
    return (ValueNoise1D(10 * p / 75) + 0.5 * ValueNoise1D(20 * p / 75) + 1) * 0.5;
  };
  struct {
    int32_t mode;
    float until;
    double m;
  } const cases[] = {
      {0, 0.1f, pulse1}, {0, 0.5f, pulse2}, {-3, 0.1f, pulse1},       // below 0 acts as 0
      {1, 0.1f, 1.0},    {1, 0.5f, 0.0},                              // sin 0.8 > 0, sin 4 < 0
      {2, 0.0f, (ValueNoise1D(0) * 1.5 + 1) * 0.5}, {2, 0.5f, flicker(p2)}, {7, 0.1f, flicker(p1)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    SCOPED_TRACE(c.until);
    DS_LightFX light;
    light.mode.Set(c.mode);
    light.intensity.Set(60);
    const auto live = Live(light);
    RunUntil(*live, c.until);
    EXPECT_NEAR(FloatOf(EffectOf(*live), "multiplier"), 0.6 * c.m, 1e-5);
  }
}

}  // namespace
}  // namespace brush_test
