// Frames of the brush kinds drawn over a layer at fixed times and read back: with "Main" the
// picture changes inside the mask as each kind shades it (the pattern shows its tiles, the
// background copy the picture shifted) and stays untouched outside; with
// "MainFX" the whole quad is redrawn from the picture drawn so far; a brush whose effect is
// missing or damaged draws nothing and does not ask for the scene; and a brush that took the
// layer's target as its background lets the device be reset.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "brushes/background_copy/ds_background_copy.h"
#include "brushes/expand_fx/ds_expand_fx.h"
#include "brushes/light_fx/ds_light_fx.h"
#include "brushes/move_fx/ds_move_fx.h"
#include "brushes/pattern_brush_c/ds_pattern_brush_c.h"
#include "brushes/radial_wave_fx/ds_radial_wave_fx.h"
#include "brushes/rotation_fx/ds_rotation_fx.h"
#include "brushes/water_fx/ds_water_fx.h"
#include "brushes/waves_fx/ds_waves_fx.h"
#include "core/render/device_globals.h"
#include "core/render/render_context.h"
#include "core/resources/picture_decoders.h"
#include "tests/support/brush_test_support.h"

namespace brush_test {
namespace {

constexpr int kW = BrushBench::kWidth, kH = BrushBench::kHeight;
const DS_ResourceKey kPicture{u"stripes.png", 1};
constexpr uint32_t kStripeA = 0xFF3060C0, kStripeB = 0xFFD0A040, kGreen = 0xFF00FF00;
constexpr uint32_t kRed = 0xFFFF0000, kBlue = 0xFF0000FF;
const DS_ResourceKey kHalves{u"patterns.dll", 242}, kBlinking{u"patterns.dll", 243};

// Inside the mask: the left part of the picture; outside: the right part (the soft edge between
// is not checked).
bool Inside(int x) { return x < kW * 3 / 8; }
bool Outside(int x) { return x >= kW * 5 / 8; }

int ChannelOf(uint32_t rgb, int shift) { return static_cast<int>((rgb >> shift) & 0xFF); }

// A mark cleared into the scene where it is drawn: a stand-in for the objects drawn before a
// brush (later in the slide's list).
class MarkObject final : public DS_ABObj {
 public:
  explicit MarkObject(D3DRECT rect) : m_Rect(rect) {}
  void Render(DS_2D_Light&) override { g_Device->Clear(1, &m_Rect, D3DCLEAR_TARGET, kGreen, 1.0f, 0); }
  void DrawBounds(DS_2D_Light&, int) override {}
  void Update(float) override {}
  void SyncRect() override {}

 private:
  D3DRECT m_Rect;
};

class BrushFrames : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_Bench.Ok()) << "no Direct3D device";
    for (int id : {75, 76, 77, 78, 90, 91, 102, 103, 104}) m_Bench.AddEffect(id);
    // Horizontal stripes 6 picture pixels high (12 on screen), so that an upward or downward
    // push shows; the mask's left half is fully affected, its right half untouched.
    m_Bench.AddPicture(kPicture, MakeTexture(m_Bench.Device(), 64, 48, [](int, int y) {
                         return (y / 6) % 2 ? kStripeB : kStripeA;
                       }), 64, 48);
    m_Mask = MakeTexture(m_Bench.Device(), 16, 16, [](int x, int) { return x < 8 ? 0xFFFFFFFFu : 0x00FFFFFFu; });
    // A steep bump (slope (1, -1)), so the water's rotating bump transform visibly moves the picture.
    m_Bench.AddPicture(LibraryKey(DS_WaterFX::kBumpPictureId), MakeSolidTexture(m_Bench.Device(), 0xFFFF0080), 8, 8);
    // Patterns of 8 x 8 pixels: red in the left half and blue in the right; and the same in
    // two frames of 0.5, the second all green.
    const auto halves = [](int x, int) { return x < 4 ? kRed : kBlue; };
    DS_ImageSet& still = m_Bench.Manager().Store().imageSets[kHalves];
    still.textures.assign(1, MakeTexture(m_Bench.Device(), 8, 8, halves));
    still.width = still.height = 8;
    DS_ImageSet& blinking = m_Bench.Manager().Store().imageSets[kBlinking];
    blinking.textures = {still.textures[0], MakeSolidTexture(m_Bench.Device(), kGreen)};
    blinking.frameTimes = {0.5f, 0.5f};
    blinking.width = blinking.height = 8;
    m_Layer = m_Bench.MakeLayer(kPicture);
    m_Plain = m_Bench.Frame(*m_Layer, {}, 0.0f);
    ASSERT_EQ(m_Plain.Width(), kW);
  }

  std::unique_ptr<DS_ABObj> Live(const DS_FX_Constructor& brush) {
    m_Bench.AddMask(brush.maskKey, m_Mask);
    return brush.CreateObject();
  }

  // The frame at `time` after frames every 0.1 s from `from` (no step reaches the 0.2 s cap, so
  // the phase grows by the whole time).
  DS_PixelReadback FrameAt(const std::vector<DS_ABObj*>& objects, float time, float from = 0.0f) {
    for (int i = 0; from + 0.1f * i < time - 1e-4f; ++i) m_Bench.Frame(*m_Layer, objects, from + 0.1f * i);
    return m_Bench.Frame(*m_Layer, objects, time);
  }

  // Pixels outside the mask that differ from the plain picture, and inside the mask that differ.
  int ChangedOutside(const DS_PixelReadback& frame) const { return Changed(frame, m_Plain, Outside); }
  int ChangedInside(const DS_PixelReadback& frame, const DS_PixelReadback& other) const {
    return Changed(frame, other, Inside);
  }
  static int Changed(const DS_PixelReadback& a, const DS_PixelReadback& b, bool (*where)(int)) {
    int changed = 0;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x)
        if (where(x) && !SameColour(a.At(x, y), b.At(x, y), 3)) ++changed;
    return changed;
  }

  BrushBench m_Bench;
  DS_ComHolder<IDirect3DTexture9> m_Mask;
  std::unique_ptr<DS_2D_Light> m_Layer;
  DS_PixelReadback m_Plain;
};

// The light brightens every pixel inside the mask by its multiplier, in place. Rows next to a
// stripe's edge are left out: the scene texture is sampled with filtering there.
void CheckLit(const DS_PixelReadback& frame, const DS_PixelReadback& plain, float multiplier) {
  for (int y = 2; y < kH - 2; ++y)
    for (int x = 0; x < kW; ++x) {
      if (!Inside(x) || plain.At(x, y - 2) != plain.At(x, y) || plain.At(x, y + 2) != plain.At(x, y)) continue;
      for (int shift : {0, 8, 16}) {
        const int expected = std::min(255, static_cast<int>(ChannelOf(plain.At(x, y), shift) * (1 + multiplier) + 0.5f));
        ASSERT_NEAR(ChannelOf(frame.At(x, y), shift), expected, 3) << "at " << x << ", " << y;
      }
    }
}

// A move up and down across the stripes, by up to 0.2 of the picture.
std::unique_ptr<DS_FX_Constructor> StrongMove() {
  auto move = std::make_unique<DS_MoveFX>();
  move->angle.Set(90);
  move->strength.Set(1000);
  return move;
}

// A zoom about the middle swinging up to twice the picture.
std::unique_ptr<DS_FX_Constructor> StrongExpand() {
  auto expand = std::make_unique<DS_ExpandFX>();
  expand->outward.Set(400);
  return expand;
}

// A radial wave strong enough to push the stripes by a few pixels.
std::unique_ptr<DS_FX_Constructor> StrongRadialWave() {
  auto radial = std::make_unique<DS_RadialWaveFX>();
  radial->amplitude.Set(400);  // 0.1 of the picture
  return radial;
}

// A rotation by one radian per second about the middle of the picture, on the effect the
// document names for it.
std::unique_ptr<DS_FX_Constructor> TurningRotation() {
  auto rotation = std::make_unique<DS_RotationFX>();
  rotation->effectLink.StoreKey(LibraryKey(104));
  rotation->speed.Set(200);
  rotation->aspect.Set(1000);
  return rotation;
}

// A pattern of the halves picture: at the default zoom its tiles are 8 picture pixels, 16 on
// screen, across and down.
template <class Kind = DS_PatternBrush>
std::unique_ptr<DS_FX_Constructor> HalvesPattern() {
  auto pattern = std::make_unique<Kind>();
  pattern->patternLink.SetKey(kHalves);
  return pattern;
}

std::unique_ptr<DS_FX_Constructor> BlinkingPattern() {
  auto pattern = std::make_unique<DS_PatternBrush>();
  pattern->patternLink.SetKey(kBlinking);
  return pattern;
}

// A copy of the picture shifted by one stripe (6 picture pixels, 12 on screen) up.
std::unique_ptr<DS_FX_Constructor> StripeCopy() {
  auto copy = std::make_unique<DS_BackgroundCopy>();
  copy->sourceRect.further2.Set(6);
  return copy;
}

// Inside the mask, the picture's tiles: the columns 2 to 5 of each 16 red, 10 to 13 blue
// (clear of the filtered edges between them), at every row.
void CheckHalves(const DS_PixelReadback& frame) {
  for (int y = 0; y < kH; ++y)
    for (int x = 0; Inside(x); ++x) {
      const int column = x % 16;
      if (column >= 2 && column <= 5) {
        ASSERT_TRUE(SameColour(frame.At(x, y), kRed & 0xFFFFFF, 8)) << x << ", " << y;
      } else if (column >= 10 && column <= 13) {
        ASSERT_TRUE(SameColour(frame.At(x, y), kBlue & 0xFFFFFF, 8)) << x << ", " << y;
      }
    }
}

// Rows whose stripe colour differs from the picture's own at that row: turned stripes cross rows.
int RowsAgainstTheStripes(const DS_PixelReadback& frame, const DS_PixelReadback& plain, int x) {
  int rows = 0;
  for (int y = 0; y < kH; ++y)
    if (!SameColour(frame.At(x, y), plain.At(x, y), 3)) ++rows;
  return rows;
}

TEST_F(BrushFrames, WithMainEachKindChangesThePictureOnlyInsideTheMask) {
  struct KindCase {
    const char* name;
    std::function<std::unique_ptr<DS_FX_Constructor>()> make;
    std::function<void(const DS_PixelReadback& frame, DS_FX_Constructor& live)> checkInside;
  } const cases[] = {
      {"light",
       [] { return std::unique_ptr<DS_FX_Constructor>(std::make_unique<DS_LightFX>()); },
       [this](const DS_PixelReadback& frame, DS_FX_Constructor& live) {
         CheckLit(frame, m_Plain, static_cast<DS_LightFX&>(live).Multiplier());
       }},
      {"waves",
       [] {
         auto waves = std::make_unique<DS_WavesFX>();
         waves->amplitude.Set(400);  // 0.1 of the picture: about ten pixels
         return std::unique_ptr<DS_FX_Constructor>(std::move(waves));
       },
       [this](const DS_PixelReadback& frame, DS_FX_Constructor&) {
         // Pushed stripes: many pixels inside take the other stripe's colour, and every pixel
         // is still one of the two stripe colours or between them.
         EXPECT_GT(ChangedInside(frame, m_Plain), kW * kH / 20);
       }},
      {"water",
       [] {
         auto water = std::make_unique<DS_WaterFX>();
         water->colour.Set(0x0000FF);  // red only
         return std::unique_ptr<DS_FX_Constructor>(std::move(water));
       },
       [](const DS_PixelReadback& frame, DS_FX_Constructor&) {
         for (int y = 0; y < kH; ++y)
           for (int x = 0; x < kW; ++x)
             if (Inside(x)) {
               ASSERT_LE(ChannelOf(frame.At(x, y), 8), 3) << "green at " << x << ", " << y;
               ASSERT_LE(ChannelOf(frame.At(x, y), 0), 3) << "blue at " << x << ", " << y;
               ASSERT_GE(ChannelOf(frame.At(x, y), 16), 0x30 - 3) << "red at " << x << ", " << y;
             }
       }},
      {"move", StrongMove,
       [this](const DS_PixelReadback& frame, DS_FX_Constructor&) {
         EXPECT_GT(ChangedInside(frame, m_Plain), kW * kH / 20);
       }},
      {"expand", StrongExpand,
       [this](const DS_PixelReadback& frame, DS_FX_Constructor& live) {
         // Grown about the middle by about a fifth: the stripes away from the middle row move.
         ASSERT_GT(static_cast<DS_ExpandFX&>(live).amount, 0.15f);
         EXPECT_GT(ChangedInside(frame, m_Plain), kW * kH / 20);
       }},
      {"radial wave", StrongRadialWave,
       [this](const DS_PixelReadback& frame, DS_FX_Constructor&) {
         EXPECT_GT(ChangedInside(frame, m_Plain), kW * kH / 20);
       }},
      {"rotation with the stored defaults",
       [] {
         auto rotation = std::make_unique<DS_RotationFX>();  // aspect 0, not turning
         rotation->effectLink.StoreKey(LibraryKey(104));
         return std::unique_ptr<DS_FX_Constructor>(std::move(rotation));
       },
       [this](const DS_PixelReadback& frame, DS_FX_Constructor&) {
         // Turned by nothing on a circle: the picture is redrawn in place, not from garbage.
         EXPECT_EQ(ChangedInside(frame, m_Plain), 0);
       }},
      {"rotation turned", TurningRotation,
       [this](const DS_PixelReadback& frame, DS_FX_Constructor& live) {
         ASSERT_NEAR(static_cast<DS_RotationFX&>(live).rotation, 0.3f, 1e-4f);
         // Turned by 0.3 radian, the horizontal stripes slant: a column near the mask's
         // middle crosses stripes at other rows than the picture's own.
         EXPECT_GT(RowsAgainstTheStripes(frame, m_Plain, kW / 4), kH / 10);
         EXPECT_GT(ChangedInside(frame, m_Plain), kW * kH / 20);
       }},
      {"pattern", HalvesPattern<DS_PatternBrush>,
       [](const DS_PixelReadback& frame, DS_FX_Constructor&) { CheckHalves(frame); }},
      {"pattern C", HalvesPattern<DS_PatternBrushC>,
       [](const DS_PixelReadback& frame, DS_FX_Constructor&) { CheckHalves(frame); }},
      {"background copy", StripeCopy,
       [this](const DS_PixelReadback& frame, DS_FX_Constructor&) {
         // Each pixel shows the picture one stripe further down: the other stripe's colour.
         int checked = 0;
         for (int y = 0; y + 12 < kH; ++y)
           for (int x = 0; Inside(x); ++x) {
             if (y % 12 < 2 || y % 12 > 9) continue;  // clear of the stripes' filtered edges
             ASSERT_TRUE(SameColour(frame.At(x, y), m_Plain.At(x, y + 12), 4)) << x << ", " << y;
             ASSERT_FALSE(SameColour(frame.At(x, y), m_Plain.At(x, y), 40)) << x << ", " << y;
             ++checked;
           }
         EXPECT_GT(checked, kW * kH / 8);
       }},
  };
  for (const KindCase& c : cases) {
    SCOPED_TRACE(c.name);
    const auto live = Live(*c.make());
    ASSERT_FALSE(live->NeedsSceneTexture());
    const DS_PixelReadback frame = FrameAt({live.get()}, 0.3f);
    EXPECT_EQ(ChangedOutside(frame), 0);
    c.checkInside(frame, static_cast<DS_BrushObj&>(*live).Brush());
  }
}

// Each kind, with a mask opaque in a block of it, draws only the part of the picture quad that the
// block can reach, and there every pixel the whole quad draws: the frame is the whole quad's
// frame, pixel for pixel. With "MainFX" the quad outside the part shows the scene texture as the
// whole quad's pass shows it there.
TEST_F(BrushFrames, EachKindDrawsThePartItsMaskReachesAsTheWholeQuadDrawsIt) {
  const auto inBlock = [](int x, int y) { return x >= 2 && x < 6 && y >= 4 && y < 10; };
  const DS_ComHolder<IDirect3DTexture9> block =
      MakeTexture(m_Bench.Device(), 16, 16, [&](int x, int y) { return inBlock(x, y) ? 0xFFFFFFFFu : 0x00FFFFFFu; });
  // The block's texels and the half texel a filtered sample reaches beyond them.
  const DS_MaskBounds bounds = MaskBoundsOfTexture(block.Get());
  EXPECT_FLOAT_EQ(bounds.left, 1.5f / 16);
  EXPECT_FLOAT_EQ(bounds.right, 6.5f / 16);
  EXPECT_FLOAT_EQ(bounds.top, 3.5f / 16);
  EXPECT_FLOAT_EQ(bounds.bottom, 10.5f / 16);
  // On screen the picture is 2 x 2 pixels a picture pixel, 8 x 6 a mask texel.
  const auto reached = [](int x, int y) { return x >= 12 && x < 52 && y >= 21 && y < 63; };
  const auto waves = [] {
    auto kind = std::make_unique<DS_WavesFX>();
    kind->amplitude.Set(400);
    return std::unique_ptr<DS_FX_Constructor>(std::move(kind));
  };
  const auto light = [] { return std::unique_ptr<DS_FX_Constructor>(std::make_unique<DS_LightFX>()); };
  const struct {
    const char* name;
    std::function<std::unique_ptr<DS_FX_Constructor>()> make;
    int technique;
  } cases[] = {
      {"light", light, 0},
      {"waves", waves, 0},
      {"water", [] { return std::unique_ptr<DS_FX_Constructor>(std::make_unique<DS_WaterFX>()); }, 0},
      {"move", StrongMove, 0},
      {"expand", StrongExpand, 0},
      {"radial wave", StrongRadialWave, 0},
      {"rotation", TurningRotation, 0},
      {"pattern", HalvesPattern<DS_PatternBrush>, 0},
      {"pattern C", HalvesPattern<DS_PatternBrushC>, 0},
      {"background copy", StripeCopy, 0},
      {"waves over the scene", waves, 1},
      {"light over the scene", light, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::unique_ptr<DS_FX_Constructor> brush = c.make();
    brush->techniqueFlag.Set(c.technique);
    m_Bench.AddMask(brush->maskKey, block);
    const auto part = brush->CreateObject(), whole = brush->CreateObject();
    EXPECT_FLOAT_EQ(static_cast<DS_BrushObj&>(*part).Brush().DeviceRefs().maskBounds.left, bounds.left);
    const DS_PixelReadback drawnPart = FrameAt({part.get()}, 0.3f);
    CurrentRenderContext().brushesDrawWholeQuad = true;
    const DS_PixelReadback drawnWhole = FrameAt({whole.get()}, 0.3f);
    CurrentRenderContext().brushesDrawWholeQuad = false;
    int differing = 0, changedInside = 0, changedOutside = 0;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        differing += drawnPart.At(x, y) != drawnWhole.At(x, y) ? 1 : 0;
        const bool changed = drawnWhole.At(x, y) != m_Plain.At(x, y);
        (reached(x, y) ? changedInside : changedOutside) += changed ? 1 : 0;
      }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(changedInside, 0) << "the brush changed nothing inside its mask";
    // What the whole quad changes beyond the mask's reach: nothing with "Main"; with "MainFX"
    // the pixels where the filtered scene texture is not the picture drawn (the stripes' edges).
    if (c.technique == 0) {
      EXPECT_EQ(changedOutside, 0);
    }
    std::printf("%s: %d pixels changed beyond the mask's reach, %d within it\n", c.name, changedOutside,
                changedInside);
  }
}

// A brush changes nothing beyond the part of the picture its mask's bounds give: a mask clear
// everywhere draws nothing at all ("MainFX" leaves the scene texture as it is), and the half mask
// said to reach the left quarter only draws the quarter.
TEST_F(BrushFrames, ABrushDrawsNothingBeyondItsMasksBounds) {
  const DS_ComHolder<IDirect3DTexture9> clear = MakeTexture(m_Bench.Device(), 16, 16, [](int, int) { return 0x00FFFFFFu; });
  EXPECT_TRUE(MaskBoundsOfTexture(clear.Get()).Empty());
  for (int technique : {0, 1}) {
    SCOPED_TRACE(technique);
    DS_WavesFX waves;
    waves.amplitude.Set(400);
    waves.techniqueFlag.Set(technique);
    m_Bench.AddMask(waves.maskKey, clear);
    const auto none = waves.CreateObject();
    const DS_PixelReadback nothing = FrameAt({none.get()}, 0.3f);
    if (technique == 0) {
      EXPECT_EQ(Changed(nothing, m_Plain, [](int) { return true; }), 0);
    }
    m_Bench.AddMask(waves.maskKey, m_Mask, DS_MaskBounds{0.0f, 0.0f, 0.25f, 1.0f});
    const auto quarter = waves.CreateObject();
    const DS_PixelReadback frame = FrameAt({quarter.get()}, 0.3f);
    int changedLeft = 0, changedBeyond = 0;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        const bool changed = frame.At(x, y) != nothing.At(x, y);
        if (x < kW / 4 - 2) changedLeft += changed ? 1 : 0;
        if (x >= kW / 4 + 2) changedBeyond += changed ? 1 : 0;
      }
    EXPECT_GT(changedLeft, kW * kH / 40);
    EXPECT_EQ(changedBeyond, 0);
  }
}

TEST_F(BrushFrames, WithMainFXTheWholeQuadIsRedrawnFromThePictureDrawnSoFar) {
  // A green mark inside the mask and one outside, drawn before the brush.
  MarkObject inside({8, 30, 28, 50}), outside({100, 30, 120, 50});
  DS_LightFX light;
  light.intensity.Set(100);
  light.mode.Set(DS_LightFX::kBlink);  // fully on at 0.1 s (sin 0.8 > 0): multiplier 1
  const auto main = Live(light);
  light.techniqueFlag.Set(1);
  const auto fx = Live(light);
  ASSERT_TRUE(fx->NeedsSceneTexture());

  // "Main" lights the picture itself over the mark inside the mask; the mark outside stays.
  const DS_PixelReadback withMain = FrameAt({main.get(), &inside, &outside}, 0.1f);
  EXPECT_TRUE(SameColour(withMain.At(110, 40), kGreen & 0xFFFFFF, 3));
  EXPECT_FALSE(SameColour(withMain.At(18, 40), kGreen & 0xFFFFFF, 40));
  // "MainFX" lights what was drawn so far: the mark inside the mask stays green (lit green is
  // green), and the quad outside the mask is the scene unchanged, mark included.
  const DS_PixelReadback withFX = FrameAt({fx.get(), &inside, &outside}, 0.1f);
  EXPECT_TRUE(SameColour(withFX.At(18, 40), kGreen & 0xFFFFFF, 3));
  EXPECT_TRUE(SameColour(withFX.At(110, 40), kGreen & 0xFFFFFF, 3));
  EXPECT_TRUE(SameColour(withFX.At(110, 80), m_Plain.At(110, 80), 3));
  CheckLit(FrameAt({fx.get()}, 0.1f), m_Plain, 1.0f);
}

TEST_F(BrushFrames, KindsThatDependOnTimeChangeBetweenFramesAndABlinkAtItsPeriodDoesNot) {
  struct TimeCase {
    const char* name;
    std::function<std::unique_ptr<DS_FX_Constructor>()> make;
    float t1, t2;
    bool changes;
  } const cases[] = {
      {"waves", [] {
         auto waves = std::make_unique<DS_WavesFX>();
         waves->amplitude.Set(400);
         return std::unique_ptr<DS_FX_Constructor>(std::move(waves));
       }, 0.5f, 0.6f, true},
      // Phases 4 and 20: sin 0.8 and sin 4 are far apart.
      {"light pulse", [] { return std::unique_ptr<DS_FX_Constructor>(std::make_unique<DS_LightFX>()); }, 0.1f, 0.5f, true},
      {"water", [] { return std::unique_ptr<DS_FX_Constructor>(std::make_unique<DS_WaterFX>()); }, 0.5f, 0.8f, true},
      {"move", StrongMove, 0.3f, 0.6f, true},
      {"expand", StrongExpand, 1.0f, 2.0f, true},
      {"radial wave", StrongRadialWave, 0.5f, 0.6f, true},
      {"rotation", TurningRotation, 0.5f, 0.8f, true},
      // Frames of 0.5 at 1 per second: the first at 0.3 s, the second at 0.8 s.
      {"pattern of two frames", BlinkingPattern, 0.3f, 0.8f, true},
      {"pattern of one frame", HalvesPattern<DS_PatternBrush>, 0.3f, 0.8f, false},
      {"background copy", StripeCopy, 0.3f, 0.8f, false},
      // Period 2 pi / 0.2 phase units, at 40 per second: 0.7854 s.
      {"light blink", [] {
         auto light = std::make_unique<DS_LightFX>();
         light->mode.Set(DS_LightFX::kBlink);
         return std::unique_ptr<DS_FX_Constructor>(std::move(light));
       }, 0.1f, 0.1f + 0.7854f, false},
  };
  for (const TimeCase& c : cases) {
    SCOPED_TRACE(c.name);
    const auto live = Live(*c.make());
    const DS_PixelReadback first = FrameAt({live.get()}, c.t1);
    const DS_PixelReadback second = FrameAt({live.get()}, c.t2, c.t1);
    if (c.changes)
      EXPECT_GT(ChangedInside(first, second), 0);
    else
      EXPECT_EQ(ChangedInside(first, second), 0);
    EXPECT_EQ(ChangedOutside(second), 0);
  }
}

TEST_F(BrushFrames, ABrushWithoutAUsableEffectDrawsNothingAndLeavesTheSceneAlone) {
  std::vector<uint8_t> damaged = BuiltEffectBytes(76);
  ASSERT_GT(damaged.size(), 64u);
  damaged.resize(damaged.size() / 2);
  m_Bench.AddEffectBytes(176, damaged);
  m_Bench.AddEffectBytes(177, std::vector<uint8_t>(300, 0xA5));
  const DS_ResourceKey links[] = {{u"absent.dll", 76}, LibraryKey(176), LibraryKey(177)};
  MarkObject mark({8, 30, 28, 50});
  for (const DS_ResourceKey& link : links) {
    SCOPED_TRACE(link.stamp);
    DS_LightFX light;
    light.techniqueFlag.Set(1);  // would ask for the scene texture
    light.effectLink.StoreKey(link);
    const auto live = Live(light);
    EXPECT_FALSE(static_cast<DS_BrushObj&>(*live).Brush().DeviceRefs().effect);
    EXPECT_FALSE(live->NeedsSceneTexture());
    const DS_PixelReadback frame = FrameAt({live.get(), &mark}, 0.2f);
    EXPECT_EQ(ChangedOutside(frame), 0);
    EXPECT_TRUE(SameColour(frame.At(18, 40), kGreen & 0xFFFFFF, 3));
    EXPECT_TRUE(SameColour(frame.At(40, 80), m_Plain.At(40, 80), 3));
    EXPECT_FALSE(m_Layer->InTargetRender());
  }
}

TEST_F(BrushFrames, ABrushThatDrewFromTheLayersTargetLetsTheDeviceReset) {
  DS_WaterFX water;
  water.techniqueFlag.Set(1);
  const auto live = Live(water);
  const DS_PixelReadback before = FrameAt({live.get()}, 0.4f);
  // The scene lets go of its device objects and tells its manager once; the effect drops the
  // layer's target that it was given as "Background".
  m_Layer->OnDeviceLost();
  m_Bench.Manager().OnDeviceLost();
  ASSERT_EQ(m_Bench.Device()->Reset(&m_Bench.TestDevice().PresentParameters()), D3D_OK);
  m_Bench.Manager().OnDeviceReset();
  m_Layer->OnDeviceReset();
  m_Layer->Layout(kW, kH);
  const DS_PixelReadback after = m_Bench.Frame(*m_Layer, {live.get()}, 0.4f);
  int differing = 0;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) differing += SameColour(before.At(x, y), after.At(x, y), 2) ? 0 : 1;
  EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace brush_test
