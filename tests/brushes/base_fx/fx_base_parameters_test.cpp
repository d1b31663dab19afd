// What every brush kind takes from the base in its real effect: the technique the flag chooses and
// the scene texture, "Scale" from the picture's aspect and the scale factor, the mask and effect
// the live brushes share, assignment, and the mask a written brush leaves in the mask table.
#include <gtest/gtest.h>

#include <memory>

#include "brushes/expand_fx/ds_expand_fx.h"
#include "brushes/light_fx/ds_light_fx.h"
#include "brushes/water_fx/ds_water_fx.h"
#include "brushes/waves_fx/ds_waves_fx.h"
#include "tests/brushes/brush_parameters_fixture.h"

namespace brush_test {
namespace {

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
