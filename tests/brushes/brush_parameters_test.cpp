// The parameters each brush kind leaves in its real effect after its Render on a layer, read back
// from the effect: the common technique, "Scale", "Mask" and "Background", and each kind's own
// arithmetic at chosen times, including the guarded cases (a zero-size picture, shape factors
// without a finite slope, a bump picture that resolved to nothing, a pattern zoom of 0, pattern
// frame times that outnumber the frames, a pattern that resolved to nothing).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

#include "brushes/background_copy/ds_background_copy.h"
#include "brushes/expand_fx/ds_expand_fx.h"
#include "brushes/light_fx/ds_light_fx.h"
#include "brushes/move_fx/ds_move_fx.h"
#include "brushes/pattern_brush/ds_pattern_brush.h"
#include "brushes/radial_wave_fx/ds_radial_wave_fx.h"
#include "brushes/rotation_fx/ds_rotation_fx.h"
#include "brushes/water_fx/ds_water_fx.h"
#include "brushes/waves_fx/ds_waves_fx.h"
#include "core/render/picture_size.h"
#include "core/resources/noise.h"
#include "tests/brushes/brush_test_support.h"

namespace brush_test {
namespace {

const DS_ResourceKey kPicture{u"picture.png", 1};

void ExpectFloats(const std::vector<float>& got, const std::vector<float>& expected, float tolerance) {
  ASSERT_EQ(got.size(), expected.size());
  for (size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], expected[i], tolerance) << "element " << i;
}

class BrushParameters : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_Bench.Ok()) << "no Direct3D device";
    for (int id : {75, 76, 77, 78, 90, 91, 102, 103, 104}) m_Bench.AddEffect(id);
    m_Picture = MakeSolidTexture(m_Bench.Device(), 0xFF406080);
    m_Mask = MakeSolidTexture(m_Bench.Device(), 0x80FFFFFF);
    m_Bump = MakeSolidTexture(m_Bench.Device(), 0xFF8080FF);
    m_Bench.AddPicture(LibraryKey(DS_WaterFX::kBumpPictureId), m_Bump, 8, 8);
    UsePicture(1024, 768);
  }

  // The layer's picture: the test's texture with the given stored size.
  void UsePicture(unsigned w, unsigned h) {
    m_Bench.AddPicture(kPicture, m_Picture, w, h);
    m_Layer = m_Bench.MakeLayer(kPicture);
  }

  // A pattern picture of one solid texture per colour under `key`, stored as w x h, with the
  // given frame times.
  std::vector<DS_ComHolder<IDirect3DTexture9>> AddPattern(const DS_ResourceKey& key, const std::vector<uint32_t>& colours,
                                                         unsigned w, unsigned h, const std::vector<float>& times) {
    DS_ImageSet& set = m_Bench.Manager().Store().imageSets[key];
    set.textures.clear();
    for (uint32_t colour : colours) set.textures.push_back(MakeSolidTexture(m_Bench.Device(), colour));
    set.frameTimes = times;
    set.width = w;
    set.height = h;
    set.aspect = static_cast<float>(h) / static_cast<float>(w);
    return set.textures;
  }

  // The live brush over a clone of `brush`, with the test's mask under its key.
  std::unique_ptr<DS_ABObj> Live(const DS_FX_Constructor& brush) {
    m_Bench.AddMask(brush.maskKey, m_Mask);
    return brush.CreateObject();
  }
  static DS_FX_Constructor& BrushOf(DS_ABObj& live) { return static_cast<DS_BrushObj&>(live).Brush(); }
  static ID3DXEffect* EffectOf(DS_ABObj& live) { return BrushOf(live).DeviceRefs().effect.Get(); }

  // Frames every 0.1 s from 0 to `until` seconds (steps under the 0.2 s cap); the phase grows by
  // the speed times `until`.
  void RunUntil(DS_ABObj& live, float until) {
    for (int i = 0; i <= static_cast<int>(std::lround(until * 10)); ++i) m_Bench.Frame(*m_Layer, {&live}, 0.1f * i);
  }

  BrushBench m_Bench;
  DS_ComHolder<IDirect3DTexture9> m_Picture, m_Mask, m_Bump;
  std::unique_ptr<DS_2D_Light> m_Layer;
};

TEST_F(BrushParameters, TheTechniqueFlagChoosesMainOrMainFXAndTheSceneTexture) {
  DS_LightFX light;
  const auto plain = Live(light);
  RunUntil(*plain, 0.0f);
  ID3DXEffect* e = EffectOf(*plain);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(TechniqueOf(e), "Main");
  EXPECT_FALSE(plain->NeedsSceneTexture());
  EXPECT_EQ(TextureOf(e, "Mask"), m_Mask.Get());
  EXPECT_EQ(TextureOf(e, "Background"), m_Picture.Get());

  light.techniqueFlag.Set(5);
  const auto fx = Live(light);
  EXPECT_TRUE(fx->NeedsSceneTexture());
  IDirect3DTexture9* target = m_Layer->Targets().textures[0].Get();
  ASSERT_NE(target, nullptr);
  RunUntil(*fx, 0.0f);
  EXPECT_EQ(TechniqueOf(e), "MainFX");  // both brushes share the manager's one effect
  EXPECT_EQ(TextureOf(e, "Background"), target);  // the picture drawn so far
}

TEST_F(BrushParameters, ScaleIsTheAspectAndOneOverTheScaleFactor) {
  struct {
    unsigned w, h;
    uint32_t scaleValue;
    std::vector<float> scale;
  } const cases[] = {
      {1024, 768, 50, {1.3333334f, 1.0f}},
      {1024, 768, 100, {0.6666667f, 0.5f}},
      {0, 0, 50, {1.0f, 1.0f}},      // a picture that resolved to nothing counts as square
      {1024, 768, 0, {66.66667f, 50.0f}},  // a stored factor of 0 counts as its smallest step
  };
  // Every library effect takes "Scale", whether or not its shading reads it.
  const struct {
    const char* kind;
    std::unique_ptr<DS_FX_Constructor> (*make)();
  } kinds[] = {
      {"light", [] { return std::unique_ptr<DS_FX_Constructor>(std::make_unique<DS_LightFX>()); }},
      {"water", [] { return std::unique_ptr<DS_FX_Constructor>(std::make_unique<DS_WaterFX>()); }},
      {"expand", [] { return std::unique_ptr<DS_FX_Constructor>(std::make_unique<DS_ExpandFX>()); }},
  };
  for (const auto& kind : kinds) {
    SCOPED_TRACE(kind.kind);
    for (const auto& c : cases) {
      SCOPED_TRACE(c.w);
      SCOPED_TRACE(c.scaleValue);
      UsePicture(c.w, c.h);
      const std::unique_ptr<DS_FX_Constructor> brush = kind.make();
      brush->scaleFactor.Set(c.scaleValue);
      const auto live = Live(*brush);
      RunUntil(*live, 0.0f);
      ExpectFloats(FloatsOf(EffectOf(*live), "Scale", 2), c.scale, 1e-4f);
    }
  }
}

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
    ASSERT_EQ(g_PictureWidth, static_cast<int>(c.w));
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

TEST_F(BrushParameters, PatternsTileAcrossThePictureMirroredTurnedAndOffset) {
  const DS_ResourceKey link = LibraryKey(242);  // a ".dll" link: the library's container form
  const auto textures = AddPattern(link, {0xFFFF0000}, 256, 128, {});
  struct {
    const char* name;
    uint32_t angle, zoom, offsetX, offsetY;
    int32_t flipX, flipY;
    std::vector<float> transform, offset;
  } const cases[] = {
      {"defaults", 0, 100, 0, 0, 0, 0, {4, 0, 0, 6}, {0, 0}},
      {"turned and mirrored", 90, 100, 0, 0, 1, 0, {0, -4, -6, 0}, {0, 0}},
      {"mirrored upside down", 0, 100, 0, 0, 0, 3, {4, 0, 0, -6}, {0, 0}},
      {"zoomed in", 0, 200, 0, 0, 0, 0, {2, 0, 0, 3}, {0, 0}},
      {"offset", 0, 100, 50, 50, 0, 0, {4, 0, 0, 6}, {-0.5f, 0.5f}},  // the same value, opposite signs
      {"a zoom of 0 is its smallest step", 0, 0, 0, 0, 0, 0, {400, 0, 0, 600}, {0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DS_PatternBrush pattern;
    pattern.patternLink.SetKey(link);
    pattern.angle.Set(c.angle);
    pattern.zoom.Set(c.zoom);
    pattern.offsetX.Set(c.offsetX);
    pattern.offsetY.Set(c.offsetY);
    pattern.flipX.Set(c.flipX);
    pattern.flipY.Set(c.flipY);
    const auto live = Live(pattern);
    RunUntil(*live, 0.2f);
    ID3DXEffect* e = EffectOf(*live);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(TechniqueOf(e), "Main");
    EXPECT_EQ(TextureOf(e, "Pattern"), textures[0].Get());
    ExpectFloats(FloatsOf(e, "scale", 2), {2.0f, 1.0f}, 1e-6f);
    ExpectFloats(FloatsOf(e, "coord_transf", 4), c.transform, 1e-4f);
    ExpectFloats(FloatsOf(e, "offset", 2), c.offset, 1e-6f);
    ExpectFloats(FloatsOf(e, "Scale", 2), {1.3333334f, 1.0f}, 1e-5f);
  }
}

TEST_F(BrushParameters, PatternFramesFollowTheirTimesAndWrapOverTheTexturesThereAre) {
  // At 1 unit of phase per second, frames every 0.1 s: a frame of 0.5 is left at 0.5 or 0.6 s.
  struct {
    const char* name;
    DS_ResourceKey link;
    size_t textures;
    std::vector<float> times;
    std::vector<std::pair<float, uint32_t>> frames;  // (time, frame index)
  } const cases[] = {
      {"two frames", LibraryKey(242), 2, {0.5f, 0.5f}, {{0.3f, 0}, {0.8f, 1}, {1.4f, 0}}},
      {"three frame times over two textures", {u"pattern.png", 7}, 2, {0.5f, 0.5f, 0.5f},
       {{0.3f, 0}, {0.8f, 1}, {1.4f, 2}, {1.9f, 0}}},
      {"a still picture", {u"pattern.png", 8}, 1, {}, {{0.3f, 0}, {1.4f, 0}}},
      {"frame times without any texture", {u"no-such-library.dll", 243}, 0, {0.5f, 0.5f}, {{0.3f, 0}, {0.8f, 1}}},
  };
  const uint32_t colours[] = {0xFFFF0000, 0xFF0000FF};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto textures =
        AddPattern(c.link, std::vector<uint32_t>(colours, colours + c.textures), 16, 16, c.times);
    DS_PatternBrush pattern;
    pattern.patternLink.SetKey(c.link);
    const auto live = Live(pattern);
    auto& bound = static_cast<DS_PatternBrush&>(BrushOf(*live));
    ASSERT_EQ(bound.pattern.frames, c.textures);
    float from = 0.0f;
    for (const auto& [time, index] : c.frames) {
      SCOPED_TRACE(time);
      for (int i = 0; from + 0.1f * i < time + 1e-4f; ++i) m_Bench.Frame(*m_Layer, {live.get()}, from + 0.1f * i);
      from = time + 0.1f;
      EXPECT_EQ(bound.frameIndex, index);
      ASSERT_LT(bound.TextureIndex(), std::max<size_t>(c.textures, 1));
      EXPECT_EQ(TextureOf(EffectOf(*live), "Pattern"),
                c.textures == 0 ? nullptr : textures[index % c.textures].Get());
    }
  }
}

TEST_F(BrushParameters, APatternThatResolvedToNothingSetsAndDrawsNothingAndWantsNoScene) {
  // A library id the library lacks, and a picture the document does not hold.
  const DS_ResourceKey links[] = {{u"absent.dll", 242}, {u"missing.png", 5}};
  for (const DS_ResourceKey& link : links) {
    SCOPED_TRACE(DsToUtf8(link.name));
    DS_PatternBrush pattern;
    pattern.patternLink.SetKey(link);
    pattern.techniqueFlag.Set(1);
    const auto live = Live(pattern);
    ID3DXEffect* e = EffectOf(*live);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(static_cast<DS_PatternBrush&>(BrushOf(*live)).pattern.height, 0u);
    EXPECT_FALSE(live->NeedsSceneTexture());
    ASSERT_EQ(e->SetFloatArray("offset", std::vector<float>{7.0f, 7.0f}.data(), 2), D3D_OK);
    RunUntil(*live, 0.2f);
    ExpectFloats(FloatsOf(e, "offset", 2), {7.0f, 7.0f}, 0.0f);  // untouched
    EXPECT_FALSE(m_Layer->InTargetRender());
  }
}

TEST_F(BrushParameters, BackgroundCopiesShiftByTheirOffsetAsFractionsOfThePicture) {
  struct {
    unsigned w, h;
    int32_t dx, dy, shiftX, shiftY;
    std::vector<float> offset;
  } const cases[] = {
      {1024, 768, 512, 0, 0, 0, {0.5f, 0.0f}},
      {1024, 768, 512, 0, 1, 0, {1.5f, 0.0f}},
      {1024, 768, 0, 384, 0, -2, {0.0f, 1.5f}},
      {1024, 768, -256, 192, 0, 0, {-0.25f, 0.25f}},
      {0, 0, 512, 100, 0, 0, {0.0f, 0.0f}},  // a picture that resolved to nothing: no pixel shift
      {0, 0, 512, 100, 1, 1, {1.0f, 1.0f}},  // but the whole-picture shifts stay
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.w);
    SCOPED_TRACE(c.dx);
    UsePicture(c.w, c.h);
    DS_BackgroundCopy copy;
    copy.sourceRect.further1.Set(c.dx);
    copy.sourceRect.further2.Set(c.dy);
    copy.sourceRect.right.Set(999);  // carried, not drawn with
    copy.shiftX.Set(c.shiftX);
    copy.shiftY.Set(c.shiftY);
    const auto live = Live(copy);
    RunUntil(*live, 0.1f);
    ID3DXEffect* e = EffectOf(*live);
    ASSERT_NE(e, nullptr);
    ExpectFloats(FloatsOf(e, "offset", 2), c.offset, 1e-6f);
    EXPECT_EQ(TextureOf(e, "Background"), m_Picture.Get());
  }
}

TEST_F(BrushParameters, LiveBrushesShareTheMaskAndEffectAndReleaseTheirOwnReferences) {
  DS_WavesFX waves;
  m_Bench.AddMask(waves.maskKey, m_Mask);
  const ULONG maskBefore = RefCount(m_Mask.Get());
  auto first = waves.CreateObject();
  auto second = waves.CreateObject();
  ID3DXEffect* e = EffectOf(*first);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(EffectOf(*second), e);
  EXPECT_EQ(BrushOf(*first).DeviceRefs().maskTexture.Get(), m_Mask.Get());
  EXPECT_EQ(RefCount(m_Mask.Get()), maskBefore + 2);
  const ULONG effectWithBoth = RefCount(e);
  first.reset();
  EXPECT_EQ(RefCount(m_Mask.Get()), maskBefore + 1);
  EXPECT_EQ(RefCount(e), effectWithBoth - 1);
  RunUntil(*second, 0.1f);  // the remaining brush still draws with both
  EXPECT_EQ(TextureOf(e, "Mask"), m_Mask.Get());
}

}  // namespace
}  // namespace brush_test

namespace brush_test {
namespace {

TEST_F(BrushParameters, AssigningABrushTakesItsValuesAndItsOwnReferences) {
  DS_LightFX source;
  source.intensity.Set(90);
  source.techniqueFlag.Set(2);
  source.scaleFactor.Set(75);
  m_Bench.AddMask(source.maskKey, m_Mask);
  const auto live = source.CreateObject();
  DS_FX_Constructor& bound = BrushOf(*live);
  const ULONG maskWithOne = RefCount(m_Mask.Get());

  DS_LightFX target;
  static_cast<DS_FX_Constructor&>(target) = bound;
  EXPECT_EQ(target.techniqueFlag.Get(), 2);
  EXPECT_FLOAT_EQ(target.scaleFactor.Derived(), 1.5f);
  EXPECT_EQ(target.maskKey.id, source.maskKey.id);
  EXPECT_EQ(target.DeviceRefs().effect.Get(), bound.DeviceRefs().effect.Get());
  EXPECT_EQ(RefCount(m_Mask.Get()), maskWithOne + 1);
  static_cast<DS_FX_Constructor&>(target) = static_cast<DS_FX_Constructor&>(target);  // itself: nothing changes
  EXPECT_EQ(RefCount(m_Mask.Get()), maskWithOne + 1);
  EXPECT_EQ(target.DeviceRefs().maskTexture.Get(), m_Mask.Get());
  target.NewIdentity();
  EXPECT_EQ(RefCount(m_Mask.Get()), maskWithOne);
  EXPECT_TRUE(target.DeviceRefs().effect);  // only the mask goes
}

TEST_F(BrushParameters, WritingABrushLeavesACopyOfItsMaskInTheMaskTable) {
  DS_WavesFX waves;
  m_Bench.AddMask(waves.maskKey, m_Mask);
  const auto live = waves.CreateObject();
  Written(BrushOf(*live));
  IDirect3DTexture9* stored = m_Bench.Manager().GetMaskTexture(waves.maskKey);
  ASSERT_NE(stored, nullptr);
  EXPECT_NE(stored, m_Mask.Get());  // a copy, not the texture the brush draws with
  D3DSURFACE_DESC desc{};
  ASSERT_EQ(stored->GetLevelDesc(0, &desc), D3D_OK);
  EXPECT_EQ(desc.Width, 512u);
  EXPECT_EQ(desc.Height, 512u);

  // A brush without a mask empties its entry.
  DS_WavesFX bare;
  m_Bench.AddMask(bare.maskKey, m_Mask);
  Written(bare);
  EXPECT_EQ(m_Bench.Manager().GetMaskTexture(bare.maskKey), nullptr);
}

}  // namespace
}  // namespace brush_test
