// The fire brush on a device: the values it leaves in its real effect (colours, density, the
// scroll offsets, the picture coordinate's scale in either view mode), the grid it spans over its
// corners, and the frames it draws - moving flames inside its quadrilateral and nothing outside,
// the scene kept outside when it asks for it, and nothing at all without its effect.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "brushes/fire_fx/ds_fire_fx_device.h"
#include "core/render/device_globals.h"
#include "core/render/view_state.h"
#include "tests/support/brush_test_support.h"

namespace brush_test {
namespace {

constexpr int kW = BrushBench::kWidth, kH = BrushBench::kHeight;
const DS_ResourceKey kPicture{u"blue.png", 1};
constexpr uint32_t kBlue = 0xFF3060C0, kGreen = 0xFF00FF00;

// The fire's corners over the middle of a 64 x 48 picture (2 screen pixels per picture pixel):
// left top, left bottom, right top, right bottom.
void PlaceCorners(DS_FireFX& fire, float left, float top, float right, float bottom) {
  const DS_Vector3 corners[4] = {{left, top, 0}, {left, bottom, 0}, {right, top, 0}, {right, bottom, 0}};
  for (int i = 0; i < 4; ++i) fire.corners.corners[i].Store(corners[i]);
}

void ExpectFloats(const std::vector<float>& got, const std::vector<float>& expected) {
  ASSERT_EQ(got.size(), expected.size());
  for (size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], expected[i], 1e-5f) << "element " << i;
}

class FireBrush : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_Bench.Ok()) << "no Direct3D device";
    m_Bench.AddEffect(DS_FireFX::kEffectId);
    m_Bench.AddPicture(kPicture, MakeSolidTexture(m_Bench.Device(), kBlue), 64, 48);
    // Noise that varies everywhere, and a pattern that is opaque everywhere, so that the flames'
    // strength is the noise itself.
    m_Bench.AddPicture(LibraryKey(DS_FireFX::kNoisePictureId), MakeTexture(m_Bench.Device(), 32, 32, [](int x, int y) {
                         const uint32_t v = static_cast<uint32_t>((x * 37 + y * 91 + x * y * 13) % 256);
                         return 0xFF000000u | v << 16 | v << 8 | v;
                       }), 32, 32);
    m_Bench.AddPicture(LibraryKey(DS_FireFX::kPatternPictureId), MakeSolidTexture(m_Bench.Device(), 0xFFFFFFFF), 8, 8);
    m_Layer = m_Bench.MakeLayer(kPicture);
    m_Plain = m_Bench.Frame(*m_Layer, {}, 0.0f);
    ASSERT_EQ(m_Plain.Width(), kW);
  }

  static DS_FireFX& FireOf(DS_ABObj& live) { return static_cast<DS_FireFX&>(static_cast<DS_BrushObj&>(live).Brush()); }

  // Frames every 0.1 s up to `until` (under the 0.2 s cap: the phase grows by the whole time).
  DS_PixelReadback RunUntil(DS_ABObj& live, float until) {
    DS_PixelReadback last;
    for (int i = 0; i <= static_cast<int>(std::lround(until * 10)); ++i) last = m_Bench.Frame(*m_Layer, {&live}, 0.1f * i);
    return last;
  }

  // Pixels that differ from `other` inside the screen rectangle [x0, x1) x [y0, y1), or outside
  // it (with a margin of 2 pixels for the filtered edge).
  static int ChangedInside(const DS_PixelReadback& a, const DS_PixelReadback& b, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0 + 2; y < y1 - 2; ++y)
      for (int x = x0 + 2; x < x1 - 2; ++x) n += SameColour(a.At(x, y), b.At(x, y), 3) ? 0 : 1;
    return n;
  }
  static int ChangedOutside(const DS_PixelReadback& a, const DS_PixelReadback& b, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        if (x >= x0 - 2 && x < x1 + 2 && y >= y0 - 2 && y < y1 + 2) continue;
        n += SameColour(a.At(x, y), b.At(x, y), 3) ? 0 : 1;
      }
    return n;
  }

  BrushBench m_Bench;
  std::unique_ptr<DS_2D_Light> m_Layer;
  DS_PixelReadback m_Plain;
};

TEST_F(FireBrush, ItsColoursDensityAndBrightnessReachTheEffect) {
  const struct {
    uint32_t from, to, density;
    std::vector<float> k1, k2;
    float densityValue;
  } cases[] = {
      // The defaults: red to yellow.
      {0x0000FF, 0x00FFFF, 100, {1, 0, 0}, {0, 1, 0}, 0.0f},
      {0x402080, 0x406080, 150, {128 / 255.0f, 32 / 255.0f, 64 / 255.0f}, {0, 64 / 255.0f, 0}, 0.5f},
      {0xFFFFFF, 0x000000, 0, {1, 1, 1}, {-1, -1, -1}, -1.0f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.density);
    DS_FireFX fire;
    fire.colourFrom.Set(c.from);
    fire.colourTo.Set(c.to);
    fire.density.Set(c.density);
    fire.techniqueFlag.Set(3);  // the fire draws through "Main" whatever its flag
    const auto live = fire.CreateObject();
    RunUntil(*live, 0.0f);
    ID3DXEffect* e = FireOf(*live).DeviceRefs().effect.Get();
    ASSERT_NE(e, nullptr);
    ExpectFloats(FloatsOf(e, "ColorK1", 3), c.k1);
    ExpectFloats(FloatsOf(e, "ColorK2", 3), c.k2);
    EXPECT_NEAR(FloatOf(e, "Density"), c.densityValue, 1e-6f);
    EXPECT_NEAR(FloatOf(e, "Brightness"), 0.3f, 1e-6f);
    EXPECT_EQ(TechniqueOf(e), "Main");
    EXPECT_EQ(TextureOf(e, "Noise"), FireOf(*live).DeviceRefs().pictures[1].Get());
    EXPECT_EQ(TextureOf(e, "Pattern"), FireOf(*live).DeviceRefs().pictures[0].Get());
    ASSERT_NE(TextureOf(e, "Noise"), nullptr);
  }
}

TEST_F(FireBrush, TheScrollOffsetsGrowAtTheirOwnRatesWithThePhase) {
  DS_FireFX fire;
  for (int i = 1; i <= 50; ++i) fire.Advance(0.2f * i);  // 1.0 per second for 10 s
  ASSERT_NEAR(fire.speed.Phase(), 10.0f, 1e-4f);
  DS_FX_Parameters values;
  fire.CollectNoiseParameters(values);
  const struct {
    const char* name;
    float y;
  } expected[] = {{"c11", 13.0f}, {"c12", 21.0f}, {"c13", 23.0f}};
  ASSERT_EQ(values.values.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_STREQ(values.values[i].name, expected[i].name);
    EXPECT_EQ(values.values[i].v[0], 0.0f);
    EXPECT_NEAR(values.values[i].v[1], expected[i].y, 1e-3f);
  }
}

TEST_F(FireBrush, ThePictureCoordinateScaleIsTheViewsRatiosOrOneOverTheWholeTarget) {
  // A square picture on the 4:3 bench: the fitted picture is narrower than the screen.
  const DS_ResourceKey square{u"square.png", 2};
  m_Bench.AddPicture(square, MakeSolidTexture(m_Bench.Device(), kBlue), 64, 64);
  m_Layer = m_Bench.MakeLayer(square);
  DS_FireFX fire;
  const auto live = fire.CreateObject();
  RunUntil(*live, 0.0f);
  ID3DXEffect* e = FireOf(*live).DeviceRefs().effect.Get();
  ASSERT_NE(e, nullptr);
  ASSERT_GT(g_ViewState.widthRatio, 1.2f);
  ExpectFloats(FloatsOf(e, "bg_scale_factor", 2), {g_ViewState.widthRatio, g_ViewState.heightRatio});
  // Drawn into the layer's target (as when a later object asks for the scene), laid out whole.
  ASSERT_EQ(m_Bench.Device()->BeginScene(), D3D_OK);
  m_Layer->BeginTargetRender();
  EXPECT_TRUE(m_Layer->InTargetRender());
  live->Render(*m_Layer);
  m_Layer->EndTargetRender(false);
  m_Bench.Device()->EndScene();
  ExpectFloats(FloatsOf(e, "bg_scale_factor", 2), {1.0f, 1.0f});
}

TEST_F(FireBrush, TheGridSpansTheCornersWithThePatternRepeatedAcrossU) {
  const struct {
    uint32_t repeat;
    float u;  // the u of the right edge
  } cases[] = {{100, 1.0f}, {200, 0.5f}, {0, 100.0f}};  // a stored 0 counts as 0.01
  for (const auto& c : cases) {
    SCOPED_TRACE(c.repeat);
    DS_FireFX fire;
    PlaceCorners(fire, 10, 20, 50, 40);
    fire.uRepeat.Set(c.repeat);
    fire.LoadEffect(nullptr);
    const DS_FireGrid& grid = fire.Grid();
    ASSERT_TRUE(grid.vertexBuffer);
    EXPECT_EQ(grid.columns, 8);
    EXPECT_EQ(grid.rows, 8);
    EXPECT_EQ(grid.triangleCount, 128);
    void* data = nullptr;
    ASSERT_EQ(grid.vertexBuffer->Lock(0, 0, &data, D3DLOCK_READONLY), D3D_OK);
    const auto* v = static_cast<const DX_V::PT*>(data);
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f, maxU = 0.0f, maxV = 0.0f;
    for (int i = 0; i < 81; ++i) {
      ASSERT_TRUE(std::isfinite(v[i].u) && std::isfinite(v[i].v)) << i;
      minX = std::fmin(minX, v[i].x), maxX = std::fmax(maxX, v[i].x);
      minY = std::fmin(minY, v[i].y), maxY = std::fmax(maxY, v[i].y);
      maxU = std::fmax(maxU, v[i].u), maxV = std::fmax(maxV, v[i].v);
      // v runs from 0 on the top edge to 1 on the bottom one, u from 0 on the left edge.
      EXPECT_NEAR(v[i].v, (v[i].y - 20.0f) / 20.0f, 1e-4f) << i;
      EXPECT_NEAR(v[i].u, (v[i].x - 10.0f) / 40.0f * c.u, 1e-3f * c.u) << i;
    }
    grid.vertexBuffer->Unlock();
    EXPECT_EQ(minX, 10.0f);
    EXPECT_EQ(maxX, 50.0f);
    EXPECT_EQ(minY, 20.0f);
    EXPECT_EQ(maxY, 40.0f);
    EXPECT_NEAR(maxU, c.u, 1e-3f * c.u);
    EXPECT_EQ(maxV, 1.0f);
  }
}

TEST_F(FireBrush, WithTheDefaultCornersEveryVertexLiesAtTheOriginAndNothingShows) {
  DS_FireFX fire;
  const auto live = fire.CreateObject();
  const DS_FireGrid& grid = FireOf(*live).Grid();
  void* data = nullptr;
  ASSERT_EQ(grid.vertexBuffer->Lock(0, 0, &data, D3DLOCK_READONLY), D3D_OK);
  const auto* v = static_cast<const DX_V::PT*>(data);
  for (int i = 0; i < 81; ++i) EXPECT_TRUE(v[i].x == 0.0f && v[i].y == 0.0f && v[i].z == 0.0f) << i;
  grid.vertexBuffer->Unlock();
  const DS_PixelReadback frame = RunUntil(*live, 0.5f);
  EXPECT_EQ(ChangedOutside(frame, m_Plain, 0, 0, 0, 0), 0);
}

TEST_F(FireBrush, MovingFlamesInsideItsQuadrilateralAndNothingOutside) {
  DS_FireFX fire;
  PlaceCorners(fire, 16, 12, 48, 36);  // screen (32, 24) to (96, 72)
  const auto live = fire.CreateObject();
  const DS_PixelReadback first = RunUntil(*live, 0.5f);
  const DS_PixelReadback second = m_Bench.Frame(*m_Layer, {live.get()}, 0.8f);
  EXPECT_EQ(ChangedOutside(first, m_Plain, 32, 24, 96, 72), 0);
  EXPECT_EQ(ChangedOutside(second, m_Plain, 32, 24, 96, 72), 0);
  EXPECT_GT(ChangedInside(first, m_Plain, 32, 24, 96, 72), 60 * 44 / 2);
  EXPECT_GT(ChangedInside(first, second, 32, 24, 96, 72), 100);
  // Red to yellow over blue: where it burns, red rises well above the picture's.
  int fiery = 0;
  for (int y = 30; y < 66; ++y)
    for (int x = 40; x < 90; ++x) fiery += ((first.At(x, y) >> 16) & 0xFF) > 0x30 + 60 ? 1 : 0;
  EXPECT_GT(fiery, 100);
}

TEST_F(FireBrush, AskingForTheSceneItKeepsTheSceneOutsideItsQuadrilateral) {
  DS_FireFX fire;
  PlaceCorners(fire, 16, 12, 48, 36);
  fire.techniqueFlag.Set(1);
  const auto live = fire.CreateObject();
  ASSERT_TRUE(live->NeedsSceneTexture());
  RunUntil(*live, 0.4f);
  // The fire is the scene's last user: it draws straight to the back buffer, over whatever the
  // buffer held before (here green).
  ASSERT_EQ(m_Bench.Device()->Clear(0, nullptr, D3DCLEAR_TARGET, kGreen, 1.0f, 0), D3D_OK);
  const DS_PixelReadback frame = m_Bench.Frame(*m_Layer, {live.get()}, 0.5f);
  EXPECT_EQ(ChangedOutside(frame, m_Plain, 32, 24, 96, 72), 0);
  EXPECT_GT(ChangedInside(frame, m_Plain, 32, 24, 96, 72), 60 * 44 / 2);
}

TEST_F(FireBrush, WithoutItsEffectOrPicturesItDrawsNoFireAndNeverBreaksTheFrame) {
  const struct {
    const char* what;
    int effectId;
    bool pictures;
  } cases[] = {{"no effect", 999, true}, {"no pattern or noise", DS_FireFX::kEffectId, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    DS_FireFX fire;
    PlaceCorners(fire, 16, 12, 48, 36);
    fire.effectLink.StoreKey(LibraryKey(c.effectId));
    if (!c.pictures) {
      fire.patternLink.StoreKey(DS_ResourceKey{u"missing-pattern.png", 7});
      fire.noiseLink.StoreKey(DS_ResourceKey{u"missing-noise.png", 8});
    }
    fire.techniqueFlag.Set(1);
    const auto live = fire.CreateObject();
    const DS_PixelReadback frame = RunUntil(*live, 0.5f);
    EXPECT_EQ(ChangedOutside(frame, m_Plain, 32, 24, 96, 72), 0);
    if (c.effectId != DS_FireFX::kEffectId) {
      // Nothing to draw: it does not ask for the scene, and the frame is the plain picture.
      EXPECT_FALSE(live->NeedsSceneTexture());
      EXPECT_EQ(ChangedInside(frame, m_Plain, 32, 24, 96, 72), 0);
    } else {
      EXPECT_EQ(FireOf(*live).DeviceRefs().pictures[0].Get(), nullptr);
      EXPECT_EQ(FireOf(*live).DeviceRefs().pictures[1].Get(), nullptr);
    }
  }
}

}  // namespace
}  // namespace brush_test
