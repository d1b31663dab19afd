// The waves' parameters in their effect: the direction, its normal across the second direction,
// frequency, amplitude and time.
#include <gtest/gtest.h>

#include <vector>

#include "brushes/waves_fx/ds_waves_fx.h"
#include "tests/brushes/brush_parameters_fixture.h"

namespace brush_test {
namespace {

TEST_F(BrushParameters, WavesRunAgainstTheirDirectionAcrossTheSecondOne) {
  struct {
    uint32_t angle;
    int32_t second;
    std::vector<float> direction, directionN;
  } const cases[] = {
      {0, 0, {-1.0f, 0.0f}, {0.0f, 1.0f}},
      {90, 0, {0.0f, 1.0f}, {1.0f, 0.0f}},
      {90, 1, {0.0f, 1.0f}, {0.0f, 1.0f}},
      {45, 0, {-0.70710678f, 0.70710678f}, {0.70710678f, 0.70710678f}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.angle);
    DS_WavesFX waves;
    waves.angle.Set(c.angle);
    waves.secondDirection.Set(c.second);
    const auto live = Live(waves);
    RunUntil(*live, 2.0f);
    ID3DXEffect* e = EffectOf(*live);
    ASSERT_NE(e, nullptr);
    ExpectFloats(FloatsOf(e, "direction", 2), c.direction, 1e-5f);
    ExpectFloats(FloatsOf(e, "direction_n", 2), c.directionN, 1e-5f);
    EXPECT_NEAR(FloatOf(e, "frequency"), 1.0f / 0.026f, 1e-3f);
    EXPECT_FLOAT_EQ(FloatOf(e, "amplitude"), 0.0125f);
    EXPECT_NEAR(FloatOf(e, "time"), 4.0f, 1e-4f);  // 2 s at 25 per second, x 0.08
  }
}

}  // namespace
}  // namespace brush_test
