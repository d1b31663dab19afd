// The glass ball's arithmetic without a device: the lens bump map, the rim mask, the gradient
// rows, the lens constants and picture scales (finite for a picture of no size), and the scroll
// and sway shared by every glass-ball layer.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "layers/glass_ball/glass_ball_maths.h"

namespace {

std::int16_t U(std::uint32_t texel) { return static_cast<std::int16_t>(texel & 0xFFFF); }
std::int16_t V(std::uint32_t texel) { return static_cast<std::int16_t>(texel >> 16); }

TEST(GlassBallMaths, TheBumpMapHoldsTheSlopesOfAHemisphere) {
  // The top is flat; the slope grows towards the rim; outside it there is none.
  EXPECT_EQ(U(GlassBumpTexel(127, 128)), -U(GlassBumpTexel(128, 128)));
  EXPECT_LT(std::abs(U(GlassBumpTexel(128, 128))), 100);
  const std::uint32_t east = GlassBumpTexel(200, 128);  // h falls towards x + 1: a positive U
  EXPECT_GT(U(east), 0);
  EXPECT_NEAR(V(east), std::atan(std::sqrt(16384.0 - 72 * 72) - std::sqrt(16384.0 - 72 * 72 - 1)) * 16297.4658203125, 1.0);
  EXPECT_LT(U(GlassBumpTexel(56, 128)), 0);
  EXPECT_GT(U(GlassBumpTexel(240, 128)), U(east));
  EXPECT_EQ(GlassBumpTexel(5, 5), 0u);
  // The last column compares a texel with itself.
  EXPECT_EQ(GlassBumpTexel(255, 128), 0u);
  // The steepest step, at the rim, stays within a signed 16-bit number.
  const double steep = std::atan(std::sqrt(16384.0 - 126.0 * 126.0) - std::sqrt(16384.0 - 127.0 * 127.0));
  EXPECT_NEAR(U(GlassBumpTexel(254, 128)), steep * 16297.4658203125, 1.0);
}

TEST(GlassBallMaths, TheRimMaskIsClearInsideRadius508) {
  EXPECT_EQ(RimMaskTexel(512, 512), 0);
  EXPECT_EQ(RimMaskTexel(512 + 508, 512), 0);
  EXPECT_EQ(RimMaskTexel(512, 512 - 508), 0);
  EXPECT_EQ(RimMaskTexel(512 + 509, 512), 255);
  EXPECT_EQ(RimMaskTexel(0, 0), 255);
  EXPECT_EQ(RimMaskTexel(512 + 360, 512 + 360), 255);  // 509.1 away
  EXPECT_EQ(RimMaskTexel(512 + 359, 512 + 359), 0);    // 507.7 away
}

TEST(GlassBallMaths, TheGradientRunsFromTheTopColourToTheBottomColour) {
  const std::uint32_t top = 0x00302010, bottom = 0x00F0A0FF;  // 0x00BBGGRR
  EXPECT_EQ(GradientTexel(top, bottom, 0), 0x00102030u);
  EXPECT_EQ(GradientTexel(top, bottom, 255), 0x00FFA0F0u);
  const std::uint32_t middle = GradientTexel(top, bottom, 128);
  EXPECT_EQ((middle >> 16) & 0xFF, static_cast<std::uint32_t>(128.0f / 255.0f * (0xFF - 0x10) + 0x10));
  EXPECT_EQ(GradientTexel(0x00FFFFFF, 0, 255), 0u);
  EXPECT_EQ(GradientTexel(0, 0x00FFFFFF, 255), 0x00FFFFFFu);
}

TEST(GlassBallMaths, LensConstants) {
  struct Case {
    unsigned size, lens;
    float sx, ky;
    float distance, magnification, sway;
  };
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const Case cases[] = {
      {100, 0, 1.0f, 1.0f, -600.0f, 1.5645f, 0.125f},
      {80, 0, 1.0f, 1.0f, -705.882f, 1.33245f, 0.125f},
      {100, 100, 1.0f, 1.0f, -600.0f, 2.34675f, 0.1875f},
      {100, 0, 2.0f, 1.0f, -300.0f, 2.72475f, 0.125f},
      {100, 0, 0.0f, 1.0f, -600.0f, 1.5645f, 0.125f},  // a picture of no size
      {100, 0, nan, 1.0f, -600.0f, 1.5645f, 0.125f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size * 1000 + c.lens);
    const DS_LensConstants k = ComputeLensConstants(c.size, c.lens, c.sx, c.ky);
    EXPECT_NEAR(k.cameraDistance, c.distance, 1e-3f);
    EXPECT_NEAR(k.magnification, c.magnification, 1e-4f);
    EXPECT_NEAR(k.swayAmplitude, c.sway, 1e-6f);
  }
}

TEST(GlassBallMaths, MarginScaleIsFiniteForEveryPicture) {
  EXPECT_FLOAT_EQ(MarginScale(320.0f, 0.0f), 320.0f / 322.0f);
  EXPECT_FLOAT_EQ(MarginScale(200.0f, 40.5f), 200.0f / 282.0f);
  EXPECT_FLOAT_EQ(MarginScale(0.0f, -1.0f), 1.0f);  // nothing to share
  EXPECT_FLOAT_EQ(MarginScale(std::numeric_limits<float>::quiet_NaN(), 3.0f), 1.0f);
  EXPECT_TRUE(std::isfinite(MarginScale(100.0f, std::numeric_limits<float>::infinity())));
}

TEST(GlassBallMaths, TheSwayRunsFromOneToMinusOneAndBackOver32Seconds) {
  const struct {
    float seconds, sway;
  } cases[] = {{0.0f, 1.0f}, {8.0f, 0.0f}, {16.0f, -1.0f}, {24.0f, 0.0f}, {32.0f, 1.0f}, {40.0f, 0.0f}};
  for (const auto& c : cases) EXPECT_NEAR(SwayValue(c.seconds * 0.0625f), c.sway, 1e-5f) << c.seconds;
}

TEST(GlassBallMaths, TheScrollIsSharedAndCountsFromTheLastScrollingUpdate) {
  DS_GlassBallScroll scroll;
  AdvanceGlassBallScroll(scroll, 10.0f, 1.0f);  // the first takes its own time
  EXPECT_FLOAT_EQ(scroll.phase, 0.0f);
  AdvanceGlassBallScroll(scroll, 12.0f, 2.0f);
  EXPECT_FLOAT_EQ(scroll.phase, 0.25f);
  // A still layer does not advance it; the next scrolling one counts from 12 s.
  AdvanceGlassBallScroll(scroll, 20.0f, 1.0f);
  EXPECT_FLOAT_EQ(scroll.phase, 0.75f);
  float a = 0.0f, b = 0.0f;
  ScrollQuadEdges(2, 0.75f, 400.0f, a, b);  // f = 0.375
  EXPECT_FLOAT_EQ(a, 150.0f);
  EXPECT_FLOAT_EQ(b, -250.0f);
  ScrollQuadEdges(1, 0.75f, 400.0f, a, b);  // f = -0.375, frac 0.625
  EXPECT_FLOAT_EQ(a, 250.0f);
  EXPECT_FLOAT_EQ(b, -150.0f);
  EXPECT_FLOAT_EQ(a - b, 400.0f);  // the two quads meet
}

}  // namespace
