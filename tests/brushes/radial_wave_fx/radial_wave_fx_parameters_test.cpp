// The radial waves' parameters in their effect: the distance scaled by the picture's aspect and
// the zoom, the centre as fractions of the picture, frequency, amplitude and time.
#include <gtest/gtest.h>

#include <vector>

#include "brushes/radial_wave_fx/ds_radial_wave_fx.h"
#include "core/render/render_context.h"
#include "tests/brushes/brush_parameters_fixture.h"

namespace brush_test {
namespace {

TEST_F(BrushParameters, RadialWavesScaleTheirDistanceByTheAspectAndZoom) {
  struct {
    unsigned w, h;
    uint32_t zoom;
    int32_t mode;
    DS_Vector3 centre;
    std::vector<float> scale, center;
    float time;
  } const cases[] = {
      // 1 s at 50 per second: time -4, or 4 in mode 1.
      {1024, 768, 50, 0, {512, 384, 0}, {1.0f, 0.75f}, {0.5f, 0.5f}, -4.0f},
      {1024, 768, 50, 1, {256, 192, 0}, {1.0f, 0.75f}, {0.25f, 0.25f}, 4.0f},
      {1024, 768, 125, -1, {1024, 0, 0}, {1.0f, 0.375f}, {1.0f, 0.0f}, 4.0f},  // z = 150
      // A picture that resolved to nothing: square, and centre fractions of 0.
      {0, 0, 50, 0, {100, 50, 0}, {1.0f, 1.0f}, {0.0f, 0.0f}, -4.0f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.w);
    SCOPED_TRACE(c.zoom);
    UsePicture(c.w, c.h);
    ASSERT_EQ(CurrentRenderContext().mapping.pictureWidth, static_cast<int>(c.w));
    DS_RadialWaveFX radial;
    radial.zoom.Set(c.zoom);
    radial.mode.Set(c.mode);
    radial.centre.Set(c.centre);
    const auto live = Live(radial);
    RunUntil(*live, 1.0f);
    ID3DXEffect* e = EffectOf(*live);
    ASSERT_NE(e, nullptr);
    ExpectFloats(FloatsOf(e, "bg_scale_factor", 2), c.scale, 1e-6f);
    ExpectFloats(FloatsOf(e, "center", 2), c.center, 1e-6f);
    EXPECT_NEAR(FloatOf(e, "frequency"), 1.0f / 0.006f, 1e-2f);
    EXPECT_FLOAT_EQ(FloatOf(e, "amplitude"), 0.0125f);
    EXPECT_NEAR(FloatOf(e, "time"), c.time, 1e-4f);
  }
}

}  // namespace
}  // namespace brush_test
