// What the parameter tests of the brush kinds share: a bench with the library's brush effects, a
// layer on a solid picture of a chosen stored size, the test's mask and bump picture, pattern
// pictures of solid frames, a live brush over a clone of a brush and the effect it draws with,
// frames run up to a time, and floats read back from the effect compared within a tolerance.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "brushes/water_fx/ds_water_fx.h"
#include "tests/support/brush_test_support.h"

namespace brush_test {

inline const DS_ResourceKey kPicture{u"picture.png", 1};

inline void ExpectFloats(const std::vector<float>& got, const std::vector<float>& expected, float tolerance) {
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

}  // namespace brush_test
