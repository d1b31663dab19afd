// The pattern's parameters in its effect: tiles across the picture mirrored, turned and offset, its
// frames after their times wrapped over the textures there are, and a pattern that resolved to
// nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "brushes/pattern_brush/ds_pattern_brush.h"
#include "tests/brushes/brush_parameters_fixture.h"

namespace brush_test {
namespace {

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

}  // namespace
}  // namespace brush_test
