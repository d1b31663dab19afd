// The base of the brushes about a centre point: one not yet placed takes the middle of the picture.
#include <gtest/gtest.h>

#include "brushes/rotation_fx/ds_rotation_fx.h"
#include "tests/brushes/brush_parameters_fixture.h"

namespace brush_test {
namespace {

TEST_F(BrushParameters, ACentralBrushNotYetPlacedTakesTheMiddleOfThePicture) {
  UsePicture(640, 480);
  DS_RotationFX rotation;
  rotation.effectLink.StoreKey(LibraryKey(104));
  EXPECT_EQ(rotation.centre.Get(), (DS_Vector3{320.0f, 240.0f, 0.0f}));  // from the current picture
  UsePicture(1000, 200);
  rotation.centre.Set(DS_Vector3{10.0f, 20.0f, 0.0f});
  const auto placed = Live(rotation);
  EXPECT_EQ(static_cast<DS_RotationFX&>(BrushOf(*placed)).centre.Get(), (DS_Vector3{10.0f, 20.0f, 0.0f}));

  rotation.placed = false;
  const auto unplaced = Live(rotation);
  auto& clone = static_cast<DS_RotationFX&>(BrushOf(*unplaced));
  EXPECT_EQ(clone.centre.Get(), (DS_Vector3{500.0f, 100.0f, 0.0f}));
  EXPECT_TRUE(clone.placed);
  RunUntil(*unplaced, 0.0f);
  ExpectFloats(FloatsOf(EffectOf(*unplaced), "offset", 2), {-0.5f, -0.5f}, 1e-6f);
}

}  // namespace
}  // namespace brush_test
