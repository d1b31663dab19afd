// The expand's amplitude and centre in its effect: a swing from the inward to the outward amount.
#include <gtest/gtest.h>

#include <vector>

#include "brushes/expand_fx/ds_expand_fx.h"
#include "tests/brushes/brush_parameters_fixture.h"

namespace brush_test {
namespace {

TEST_F(BrushParameters, ExpandsSwingFromTheirInwardToTheirOutwardAmount) {
  // Speed 1 per second: the phase is the time run. The triangle starts at -1 and peaks at pi.
  struct {
    int32_t mode;
    uint32_t inward;
    float until;
    std::vector<float> amplitude;
  } const cases[] = {
      {0, 0, 0.0f, {0.0f, 0.0f}},
      {0, 20, 0.0f, {0.0f, 0.1f}},         // the whole inward amount
      {0, 0, 1.6f, {0.1273240f, 0.0f}},    // nearly a quarter period: nearly the middle
      {0, 0, 3.1f, {0.2466902f, 0.0f}},    // nearly the peak
      {0, 20, 3.1f, {0.2453662f, 0.0f}},
      {0, 0, 6.2f, {0.0066197f, 0.0f}},    // falling back towards 0
      {1, 0, 0.0f, {0.125f, 0.0f}},        // the sine starts at the middle
      {1, 60, 4.7f, {0.0f, 0.2999789f}},   // sin 4.7 x 0.275 - 0.025: inward
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    SCOPED_TRACE(c.until);
    DS_ExpandFX expand;
    expand.mode.Set(c.mode);
    expand.inward.Set(c.inward);
    const auto live = Live(expand);
    RunUntil(*live, c.until);
    ID3DXEffect* e = EffectOf(*live);
    ASSERT_NE(e, nullptr);
    ExpectFloats(FloatsOf(e, "amplitude", 2), c.amplitude, 1e-5f);
    ExpectFloats(FloatsOf(e, "center", 2), {0.5f, 0.5f}, 1e-6f);
  }
}

}  // namespace
}  // namespace brush_test
