// The water's parameters in its effect: the surface from the defaults, colour, shadows and half
// vector, shape factors without a finite slope, and a bump picture that resolved to nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "brushes/water_fx/ds_water_fx.h"
#include "tests/brushes/brush_parameters_fixture.h"

namespace brush_test {
namespace {

TEST_F(BrushParameters, WaterSetsItsSurfaceFromTheDefaults) {
  DS_WaterFX water;
  const auto live = Live(water);
  RunUntil(*live, 1.0f);
  ID3DXEffect* e = EffectOf(*live);
  ASSERT_NE(e, nullptr);
  const float p = 1.0f, w = 0.02f, beta = 4.5f * p;  // 1 per second
  ExpectFloats(FloatsOf(e, "BampTrans", 4),
               {w * std::cos(beta), -w * std::sin(beta), w * std::sin(beta), w * std::cos(beta)}, 1e-5f);
  ExpectFloats(FloatsOf(e, "P1", 3), {-0.998f, -1.0f, -0.998f}, 1e-5f);
  ExpectFloats(FloatsOf(e, "P2", 3), {1.0f, 1.0326723f, 1.0f}, 1e-4f);
  EXPECT_NEAR(FloatOf(e, "Time"), 2.0f * p, 1e-4f);
  ExpectFloats(FloatsOf(e, "Direction1", 2), {-34.82f, -29.22f}, 0.01f);
  ExpectFloats(FloatsOf(e, "Direction2", 2), {-0.001915f, -0.001607f}, 1e-6f);
  EXPECT_FLOAT_EQ(FloatOf(e, "Shadows"), 0.0f);
  ExpectFloats(FloatsOf(e, "Vhalf", 3), {0.4472136f, 0.8944272f, 0.0f}, 1e-6f);
  ExpectFloats(FloatsOf(e, "Color", 3), {1.0f, 1.0f, 1.0f}, 0.0f);
  ExpectFloats(FloatsOf(e, "Scale", 2), {1.3333334f / 0.6f, 1.0f / 0.6f}, 1e-4f);
  EXPECT_EQ(TextureOf(e, "BumpMap"), m_Bump.Get());
}

TEST_F(BrushParameters, WaterColourShadowsAndHalfVector) {
  DS_WaterFX water;
  water.colour.Set(0x0000FF);
  water.shadows.Set(50);
  water.halfVectorZ.Set(20);
  const auto live = Live(water);
  RunUntil(*live, 0.0f);
  ID3DXEffect* e = EffectOf(*live);
  ExpectFloats(FloatsOf(e, "Color", 3), {1.0f, 0.0f, 0.0f}, 0.0f);
  EXPECT_FLOAT_EQ(FloatOf(e, "Shadows"), 0.5f);
  ExpectFloats(FloatsOf(e, "Vhalf", 3), {1 / 3.0f, 2 / 3.0f, 2 / 3.0f}, 1e-6f);  // (1, 2, 2) / 3
}

TEST_F(BrushParameters, ShapeFactorsWithoutAFiniteSlopeSendOne) {
  struct {
    uint32_t value;  // u = value / 10000
    float slope;
  } const cases[] = {{20, 1.0326723f}, {0, 1.0f}, {10000, 1.0f}, {20000, 1.0f}, {30000, 1.0f}, {5000, 2.3660254f}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    DS_WaterFX water;
    water.shapeFactor.Set(c.value);
    const auto live = Live(water);
    RunUntil(*live, 0.0f);
    const std::vector<float> p2 = FloatsOf(EffectOf(*live), "P2", 3);
    ASSERT_EQ(p2.size(), 3u);
    EXPECT_TRUE(std::isfinite(p2[1]));
    EXPECT_NEAR(p2[1], c.slope, 1e-4f);
  }
}

TEST_F(BrushParameters, WaterWithoutABumpPictureStillDrawsWithNoBumpTexture) {
  DS_WaterFX water;
  water.bumpLink.SetKey(DS_ResourceKey{u"missing.png", 3});  // resolves to an empty set
  const auto live = Live(water);
  ASSERT_EQ(BrushOf(*live).DeviceRefs().pictures.size(), 1u);
  ASSERT_FALSE(BrushOf(*live).DeviceRefs().pictures[0]);
  RunUntil(*live, 0.2f);
  ID3DXEffect* e = EffectOf(*live);
  EXPECT_EQ(TextureOf(e, "BumpMap"), nullptr);
  EXPECT_EQ(TechniqueOf(e), "Main");
}

}  // namespace
}  // namespace brush_test
