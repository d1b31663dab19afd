// The particle arithmetic every kind shares and the placement and motion of each kind, on the
// host: sizes, sprite-sheet frames, vertices, colours, edge tests, and the kinds' worked cases.
#include <gtest/gtest.h>

#include <cmath>

#include "objects/fog/ds_fog_constructor.h"
#include "objects/flower/ds_flower_constructor.h"
#include "objects/god_ray/ds_god_ray_constructor.h"
#include "objects/grass/ds_grass_constructor.h"
#include "objects/lighting/ds_lighting_constructor.h"
#include "objects/sparkle/ds_sparkle_constructor.h"
#include "objects/stat_obj/ds_stat_obj_constructor.h"
#include "tests/objects/particle_test_support.h"

namespace {

TEST(Particle, TheLongerSideIsTheSize) {
  const struct {
    float aspect, halfWidth, halfHeight;
  } cases[] = {{0.5f, 20, 10}, {2.0f, 10, 20}, {1.0f, 20, 20}, {0.0f, 20, 20}, {NAN, 20, 20}};
  SpriteSet set;
  set.baseSize.Set(40);
  for (const auto& c : cases) {
    const DS_Particle p(set, c.aspect);
    EXPECT_FLOAT_EQ(p.halfWidth, c.halfWidth) << c.aspect;
    EXPECT_FLOAT_EQ(p.halfHeight, c.halfHeight) << c.aspect;
  }
}

TEST(Particle, ASpriteSheetFrameShowsItsSliceOfTheSheet) {
  SpriteSet set;
  set.sheetAnimation = true;
  set.sheetFrameCount = 4;
  EXPECT_FLOAT_EQ(DS_Particle(set, 0.5f).aspect, 2.0f);  // the aspect of one frame
  DS_SpriteSheetClock sheet;
  sheet.sheetFrame = 2;
  float a0 = 0, a1 = 0;
  sheet.USpan(set, a0, a1);
  EXPECT_FLOAT_EQ(a0, 0.5f);
  EXPECT_FLOAT_EQ(a1, 0.75f);
  set.flipHorizontal.Set(1);
  sheet.USpan(set, a0, a1);
  EXPECT_FLOAT_EQ(a0, 0.75f);
  EXPECT_FLOAT_EQ(a1, 0.5f);
}

TEST(Particle, TheSheetClockStepsAtItsRateAndRestartsWhenThePhaseGoesBack) {
  SpriteSet set;
  set.sheetAnimation = true;
  set.sheetFrameCount = 3;
  set.sheetFrameRate = 8.0f;  // a frame lasts 0.125
  DS_SpriteSheetClock sheet;
  const struct {
    float phase;
    uint32_t frame;
    float sheetTime;
  } steps[] = {{0.1f, 0, 0.0f}, {0.2f, 1, 0.2f}, {0.3f, 1, 0.2f}, {0.33f, 2, 0.33f},
               {0.5f, 0, 0.5f}, {0.1f, 0, 0.0f}, {0.2f, 1, 0.2f}};
  for (const auto& s : steps) {
    sheet.Advance(set, s.phase);
    EXPECT_EQ(sheet.sheetFrame, s.frame) << s.phase;
    EXPECT_FLOAT_EQ(sheet.sheetTime, s.sheetTime) << s.phase;
  }
  // A stored count of 0 and a rate of 0 divide by nothing.
  set.sheetFrameCount = 0;
  set.sheetFrameRate = 0.0f;
  sheet.Advance(set, 5.0f);
  float a0 = -1, a1 = -1;
  sheet.USpan(set, a0, a1);
  EXPECT_TRUE(std::isfinite(a0) && std::isfinite(a1));
}

TEST(Particle, VerticesSpanTheSpriteAroundItsCentre) {
  SpriteSet set;
  DS_Particle p(set, 1.0f);
  p.position = DS_Vec3{100, 100, 0};
  p.halfWidth = 20;
  p.halfHeight = 10;
  p.colour = 0x80FF0000u;
  DX_V::PCT v[4];
  WriteSpriteVertices(p, set, DS_SpriteSheetClock(), v);
  const float expected[4][4] = {{80, 110, 0, 1}, {80, 90, 0, 0}, {120, 110, 1, 1}, {120, 90, 1, 0}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_FLOAT_EQ(v[i].x, expected[i][0]) << i;
    EXPECT_FLOAT_EQ(v[i].y, expected[i][1]) << i;
    EXPECT_FLOAT_EQ(v[i].u, expected[i][2]) << i;
    EXPECT_FLOAT_EQ(v[i].v, expected[i][3]) << i;
    EXPECT_EQ(v[i].colour, 0x80FF0000u);
  }
  set.flipVertical.Set(1);
  WriteSpriteVertices(p, set, DS_SpriteSheetClock(), v);
  EXPECT_FLOAT_EQ(v[1].v, 1.0f);
  EXPECT_FLOAT_EQ(v[0].v, 0.0f);
}

TEST(Particle, IndicesMakeTwoTrianglesPerSprite) {
  uint16_t indices[18] = {};
  WriteSpriteIndices(3, indices);
  const uint16_t expected[18] = {0, 1, 2, 2, 1, 3, 4, 5, 6, 6, 5, 7, 8, 9, 10, 10, 9, 11};
  for (int i = 0; i < 18; ++i) EXPECT_EQ(indices[i], expected[i]) << i;
}

TEST(Particle, TheColourCarriesTheFadedOpacity) {
  const struct {
    uint32_t transparency;
    float fade;
    uint32_t colour;
  } cases[] = {
      {0, 0.5f, 0x7F112233u}, {0, 1.5f, 0x7E112233u},  // a fade above 1 wraps in the low byte
      {0, 1.0f, 0xFF112233u}, {100, 1.0f, 0x00112233u}, {0, NAN, 0x00112233u}, {0, INFINITY, 0xFF112233u},
  };
  SpriteSet set;
  set.colour.Set(0x00332211u);
  for (const auto& c : cases) {
    set.transparency.Set(c.transparency);
    DS_Particle p(set, 1.0f);
    p.fade = c.fade;
    p.UpdateColour(set);
    EXPECT_EQ(p.colour, c.colour) << c.fade;
  }
}

TEST(Particle, EdgeTestsUseMagnitudesOutsideAndSignedExtentsForTouching) {
  PictureSizeScope picture(1000, 1000);
  SpriteSet set;
  set.view = DS_ViewFractions{0.1f, 0.9f, 0.1f, 0.9f};  // 100..900 both ways
  DS_Particle p(set, 1.0f);
  const struct {
    float x, y, hw, hh;
    bool outL, outR, outT, outB, touchT, touchB, touchL, touchR;
  } cases[] = {
      {500, 500, 20, 10, false, false, false, false, false, false, false, false},
      {110, 500, 20, 10, false, false, false, false, false, false, true, false},
      {110, 500, -20, 10, false, false, false, false, false, false, false, false},  // mirrored
      {75, 500, -20, 10, true, false, false, false, false, false, true, false},
      {925, 95, 20, 10, false, true, false, false, true, false, false, true},
      {500, 85, 20, 10, false, false, true, false, true, false, false, false},
      {500, 915, 20, 10, false, false, false, true, false, true, false, false},
  };
  for (const auto& c : cases) {
    p.position = DS_Vec3{c.x, c.y, 0};
    p.halfWidth = c.hw;
    p.halfHeight = c.hh;
    SCOPED_TRACE(testing::Message() << c.x << ", " << c.y << ", " << c.hw);
    EXPECT_EQ(p.IsOutsideLeft(set), c.outL);
    EXPECT_EQ(p.IsOutsideRight(set), c.outR);
    EXPECT_EQ(p.IsOutsideTop(set), c.outT);
    EXPECT_EQ(p.IsOutsideBottom(set), c.outB);
    EXPECT_EQ(p.TouchesTop(set), c.touchT);
    EXPECT_EQ(p.TouchesBottom(set), c.touchB);
    EXPECT_EQ(p.TouchesLeft(set), c.touchL);
    EXPECT_EQ(p.TouchesRight(set), c.touchR);
  }
}

TEST(Particle, ResetGivesTheFadeRateARandomSign) {
  SpriteSet set;
  set.random = ScriptedRandom::Draw;
  set.fadeRate = 0.5f;
  ScriptedRandom::Play({0, 7, 4});  // size factor, then the coins of two resets
  DS_Particle p(set, 1.0f);
  p.fade = 0.1f;
  p.Reset(set);
  EXPECT_FLOAT_EQ(p.fadeRate, -0.5f);
  EXPECT_FLOAT_EQ(p.fade, 1.0f);
  EXPECT_EQ(p.boundEdge, -1);
  p.Reset(set);
  EXPECT_FLOAT_EQ(p.fadeRate, 0.5f);
}

// Kinds -------------------------------------------------------------------------------------------

TEST(GodRay, TheRayAngleSlantsTheBeam) {
  PictureSizeScope picture(800, 500);
  const struct {
    uint32_t angle;
    float x;
  } cases[] = {{90, 0.0f}, {80, -0.17633f}, {260, -0.17633f}, {100, 0.17633f}};
  for (const auto& c : cases) {
    DS_GodRayConstructor set;
    set.rayAngle.Set(c.angle);
    DS_Particle p(set, 1.0f);
    set.SpawnParticle(p);
    EXPECT_NEAR(p.axisB.x, c.x, 1e-4) << c.angle;
    EXPECT_FLOAT_EQ(p.halfHeight, 250.0f);  // the beam spans the picture's height
  }
}

TEST(GodRay, TheBeamSitsHalfTheViewHeightDown) {
  PictureSizeScope picture(800, 500);
  DS_GodRayConstructor set;
  set.random = ScriptedRandom::Draw;
  ScriptedRandom::Play({0, 16384, 0, 32767});  // size factor, x, velocity, fade
  set.view.top = 0.2f;
  set.view.bottom = 0.8f;
  DS_Particle p(set, 1.0f);
  set.SpawnParticle(p);
  EXPECT_FLOAT_EQ(p.position.y, 150.0f);
  EXPECT_NEAR(p.position.x, 400.0f, 0.1f);
  EXPECT_FLOAT_EQ(p.velocity.x, -10.0f);
  EXPECT_FLOAT_EQ(p.fade, 1.0f);
}

TEST(Sparkle, GrowsAsItBrightens) {
  DS_SparkleConstructor set;
  set.baseSize.Set(40);  // d = 20
  DS_Particle p(set, 1.0f);
  p.fade = 0.5f;
  p.fadeRate = 0.0f;
  set.UpdateParticle(p);
  EXPECT_FLOAT_EQ(p.halfWidth, 15.0f);
  EXPECT_FLOAT_EQ(p.halfHeight, 13.75f);
}

TEST(Fog, BouncesOffTheViewAndBreathesWithinItsFadeRange) {
  PictureSizeScope picture(400, 300);
  DS_FogConstructor set;
  DS_Particle p(set, 1.0f);
  p.Reset(set);
  set.SpawnParticle(p);
  p.fadeRate = 3.0f;
  p.position.x = 401;
  p.velocity.x = 10;
  set.UpdateParticle(p);
  EXPECT_FLOAT_EQ(p.velocity.x, -10.0f);
  p.position.x = -1;
  set.UpdateParticle(p);
  EXPECT_FLOAT_EQ(p.velocity.x, 10.0f);
  for (int frame = 1; frame < 200; ++frame) {
    set.Step(static_cast<float>(frame) * 0.05f);
    set.UpdateParticle(p);
    ASSERT_GE(p.fade, 0.2f);
    ASSERT_LE(p.fade, 1.0f);
  }
  EXPECT_EQ(set.Opacity(), 127u);  // 50 percent transparent by default
}

TEST(Lightning, AFlashThatFadesOutRestsUntilAWholeUnitOfPhaseHasPassed) {
  PictureSizeScope picture(400, 300);
  DS_LightingConstructor set;
  EXPECT_EQ(set.blendMode.Get(), 1);
  set.random = ScriptedRandom::Draw;
  ScriptedRandom::Play({2});  // even coins: no re-flash, no strike
  DS_Particle p(set, 1.0f);
  p.fade = 0.01f;
  set.Step(0.05f);  // step and phase 0.05
  set.UpdateParticle(p);
  EXPECT_EQ(p.fade, 0.0f);
  EXPECT_FLOAT_EQ(p.timer, 0.05f);
  ScriptedRandom::Play({1});  // odd coins from here on
  set.Step(0.25f);
  set.UpdateParticle(p);
  set.Step(0.45f);
  set.UpdateParticle(p);
  EXPECT_EQ(p.fade, 0.0f);  // only 0.4 of a unit since it rested
  for (float t = 0.65f; t < 1.3f; t += 0.2f) {
    set.Step(t);
    set.UpdateParticle(p);
  }
  EXPECT_GT(p.fade, 0.0f);  // struck again after more than one unit
}

TEST(Grass, StandsUprightWithoutSwayAndKeepsItsFootOnTheRoot) {
  const struct {
    int width;
    float amplitude;
  } cases[] = {{800, 0.0f}, {800, 3.0f}, {0, 3.0f}};  // a picture of width 0 must not give NaN
  for (const auto& c : cases) {
    PictureSizeScope picture(c.width, 300);
    DS_GrassConstructor set;
    set.swayAmplitude = c.amplitude;
    set.baseSize.Set(40);
    DS_Particle p(set, 2.0f);
    set.SpawnParticle(p);
    EXPECT_FLOAT_EQ(p.position.y, 300.0f - p.halfHeight);
    set.Step(0.7f);
    set.UpdateParticle(p);
    ASSERT_TRUE(std::isfinite(p.position.x) && std::isfinite(p.axisB.x)) << c.width;
    if (c.amplitude == 0.0f) {
      EXPECT_NEAR(p.axisB.x, 0.0f, 1e-6);
    }
    EXPECT_LE(std::fabs(p.axisB.x), std::tan(c.amplitude * 3.1415927f / 180.0f) + 1e-5f);
    EXPECT_NEAR(p.position.x, p.velocity.z - p.axisB.x * p.halfHeight, 1e-3);
  }
}

TEST(StillPicture, ThePlacementEnclosesTheTurnedSprite) {
  const struct {
    uint32_t rotation;
    int left, right, top, bottom;
  } cases[] = {{0, 350, 450, 275, 325}, {90, 375, 425, 250, 350}, {180, 350, 450, 275, 325}};
  for (const auto& c : cases) {
    DS_StatObjConstructor set;
    set.baseSize.Set(100);
    set.rotation.Set(c.rotation);
    set.placement.further1.Store(400);
    set.placement.further2.Store(300);
    DS_Particle p(set, 0.5f);
    set.SpawnParticle(p);
    // The turned axes carry float noise: an edge a hair below a whole number truncates down.
    EXPECT_NEAR(set.placement.left.Get(), c.left, 1) << c.rotation;
    EXPECT_NEAR(set.placement.right.Get(), c.right, 1) << c.rotation;
    EXPECT_NEAR(set.placement.top.Get(), c.top, 1) << c.rotation;
    EXPECT_NEAR(set.placement.bottom.Get(), c.bottom, 1) << c.rotation;
    EXPECT_FLOAT_EQ(p.position.x, 400.0f);
    EXPECT_FLOAT_EQ(p.position.y, 300.0f);
  }
  DS_StatObjConstructor exact;
  exact.baseSize.Set(100);
  exact.placement.further1.Store(400);
  exact.placement.further2.Store(300);
  DS_Particle p(exact, 0.5f);
  exact.SpawnParticle(p);
  EXPECT_EQ(exact.placement.left.Get(), 350);
  EXPECT_EQ(exact.placement.bottom.Get(), 325);
  EXPECT_TRUE(exact.placement.ContainsPicturePoint(360, 300));
  EXPECT_FALSE(exact.placement.ContainsPicturePoint(340, 300));
}

TEST(Flower, SwaysAboutItsFootAndStandsStillWithoutAmplitude) {
  for (float amplitude : {0.0f, 10.0f}) {
    DS_FlowerConstructor set;
    set.swayAmplitude = amplitude;
    set.baseSize.Set(100);
    set.placement.further1.Store(400);
    set.placement.further2.Store(300);
    DS_Particle p(set, 2.0f);
    set.SpawnParticle(p);
    set.Step(1.2f);  // phase 1.2: sin is far from 0
    set.UpdateParticle(p);
    if (amplitude == 0.0f) {
      EXPECT_NEAR(p.position.x, 400.0f, 1e-3);
      EXPECT_NEAR(p.axisB.x, 0.0f, 1e-6);
    } else {
      // Phase 0.2 (the step is capped): the top leans by sin(0.2) x the amplitude.
      EXPECT_NEAR(p.axisB.x, std::tan(std::sin(0.2f) * amplitude * 3.1415927f / 180.0f), 1e-4);
      // The foot, centre + height axis x half height, stays on the placement's centre column.
      EXPECT_NEAR(p.position.x + p.axisB.x * p.halfHeight, 400.0f, 1e-2);
    }
    EXPECT_FLOAT_EQ(p.position.y, 300.0f);
  }
}

}  // namespace
