// The move's shift in its effect: along its direction, by a sine or by noise.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "brushes/move_fx/ds_move_fx.h"
#include "core/resources/noise.h"
#include "tests/brushes/brush_parameters_fixture.h"

namespace brush_test {
namespace {

TEST_F(BrushParameters, MovesShiftAlongTheirDirectionBySineOrNoise) {
  const double p = 1.6;  // 1.6 s at 1 per second
  const double sine = 0.01 * std::sin(p), noise = 0.01 * ValueNoise1D(50 * p / 75);
  struct {
    uint32_t angle;
    int32_t mode;
    std::vector<float> direction;
  } const cases[] = {
      {0, 0, {static_cast<float>(sine), 0.0f}},
      {90, 0, {0.0f, static_cast<float>(-sine)}},
      {180, 2, {static_cast<float>(-sine), 0.0f}},  // any mode but 1 is the sine
      {0, 1, {static_cast<float>(noise), 0.0f}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.angle);
    SCOPED_TRACE(c.mode);
    DS_MoveFX move;
    move.angle.Set(c.angle);
    move.mode.Set(c.mode);
    const auto live = Live(move);
    RunUntil(*live, 1.6f);
    ID3DXEffect* e = EffectOf(*live);
    ASSERT_NE(e, nullptr);
    ExpectFloats(FloatsOf(e, "Direction", 2), c.direction, 1e-6f);
  }
}

}  // namespace
}  // namespace brush_test
