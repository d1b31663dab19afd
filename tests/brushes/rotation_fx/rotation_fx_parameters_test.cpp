// The rotation's transform in its effect: a turn about the centre, stretched along its axis.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "brushes/rotation_fx/ds_rotation_fx.h"
#include "tests/brushes/brush_parameters_fixture.h"

namespace brush_test {
namespace {

TEST_F(BrushParameters, RotationTurnsAboutTheCentreStretchedAlongItsAxis) {
  const float co = std::cos(1.0f), si = std::sin(1.0f);  // 1 s at 1 radian per second
  struct {
    uint32_t aspect, axis;
    int32_t mode;
    std::vector<float> transform;
  } const cases[] = {
      {1000, 0, 0, {co, si, -si, co}},
      {1000, 90, 0, {co, si, -si, co}},          // a circle whatever the axis
      {0, 0, 0, {co, si, -si, co}},              // the stored default turns on a circle, finite
      {0, 45, 0, {co, si, -si, co}},
      {2000, 0, 0, {co, 2 * si, -si / 2, co}},
      {2000, 90, 0, {co, si / 2, -2 * si, co}},  // the stretch along the other axis
      {1000, 0, 3, {co, -si, si, co}},           // against the phase
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.aspect);
    SCOPED_TRACE(c.axis);
    DS_RotationFX rotation;
    rotation.effectLink.StoreKey(LibraryKey(104));  // as the document names it
    rotation.speed.Set(200);
    rotation.aspect.Set(c.aspect);
    rotation.axisAngle.Set(c.axis);
    rotation.mode.Set(c.mode);
    const auto live = Live(rotation);
    RunUntil(*live, 1.0f);
    ID3DXEffect* e = EffectOf(*live);
    ASSERT_NE(e, nullptr);
    ExpectFloats(FloatsOf(e, "coord_transf", 4), c.transform, 1e-5f);
    ExpectFloats(FloatsOf(e, "offset", 2), {-0.5f, -0.5f}, 1e-6f);  // the middle of the picture
    ExpectFloats(FloatsOf(e, "Scale", 2), {1.3333334f, 1.0f}, 1e-5f);
  }
}

}  // namespace
}  // namespace brush_test
