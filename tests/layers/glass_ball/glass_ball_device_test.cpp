// The glass-ball layer on a real device: a magnified disc of the scene over the gradient
// backdrop, the rim mask repainting the square's corners, the overlay and the stand where they
// belong, the scroll moving the disc's content and nothing else, the gradient's mip chain, a
// layer whose links name nothing, and device loss and reset.
#include <d3dx9.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "layers/glass_ball/ds_glass_ball_light.h"
#include "tests/support/layer_fixture.h"

namespace {

constexpr int kWidth = LayerFixture::kWidth, kHeight = LayerFixture::kHeight;
constexpr std::uint32_t kMagenta = 0xFF00FF, kYellow = 0xFFFF00;
const DS_ResourceKey kStripes{u"stripes.png", 1};
// The gradient: red at the top, blue at the bottom (0x00BBGGRR words).
constexpr std::uint32_t kTop = 0x000000FF, kBottom = 0x00FF0000;

DS_ResourceKey Library(int id) { return DS_ResourceKey{u"common_res.dll", id}; }

// Vertical stripes 32 pixels wide, alternating black and white.
std::uint32_t Stripe(int x) { return (x / 32) % 2 ? 0xFFFFFFFFu : 0xFF000000u; }

class GlassBallDevice : public LayerFixture {
 protected:
  void SetUp() override {
    LayerFixture::SetUp();
    g_GlassBallScroll = DS_GlassBallScroll();
    IDirect3DDevice9* d = Device();
    StorePicture(*m_Manager, kStripes, MakeTexture(d, 256, 192, [](int x, int) { return Stripe(x); }), 256, 192);
    StorePicture(*m_Manager, Library(5), MakeSolidTexture(d, 0xFF808080u), 256, 192);
    // Overlay A: a magenta square in the middle, clear around it; overlay B: clear.
    StorePicture(*m_Manager, Library(58), MakeTexture(d, 64, 64, [](int x, int y) {
                   return x >= 24 && x < 40 && y >= 24 && y < 40 ? 0xFF000000u | kMagenta : 0x00000000u;
                 }), 64, 64);
    StorePicture(*m_Manager, Library(59), MakeSolidTexture(d, 0x00000000u), 64, 64);
    StorePicture(*m_Manager, Library(60), MakeSolidTexture(d, 0xFF000000u | kYellow), 64, 32);
  }
  std::unique_ptr<DS_GlassBallLight> Layer(int scrollMode = 0, int size = 100) {
    auto layer = std::make_unique<DS_GlassBallLight>();
    layer->SetPictureLink(kStripes);
    layer->scrollMode.Set(scrollMode);
    layer->ballSize.Set(static_cast<uint32_t>(size));
    layer->overlayAOn.Set(0);
    layer->gradientTop.Set(kTop);
    layer->gradientBottom.Set(kBottom);
    return layer;
  }
  void Prepare(DS_GlassBallLight& layer) {
    layer.CreateDeviceObjects();
    layer.OnDeviceReset();
    layer.SetPicturePosition(kPicturePositionFill);
    layer.Layout(kWidth, kHeight);
  }
  // The gradient's colour at screen row y (the backdrop spans the back buffer).
  static std::uint32_t Backdrop(int y) {
    const int red = static_cast<int>(std::lround(255.0 * (1.0 - (y + 0.5) / kHeight)));
    return static_cast<std::uint32_t>(red) << 16 | static_cast<std::uint32_t>(255 - red);
  }
  // The length of the run of one colour (black or white) through (x, y) along the row.
  static int RunThrough(const DS_PixelReadback& frame, int x, int y) {
    const bool white = (frame.At(x, y) & 0xFF) > 128;
    int left = x, right = x;
    while (left > 0 && ((frame.At(left - 1, y) & 0xFF) > 128) == white) --left;
    while (right < kWidth - 1 && ((frame.At(right + 1, y) & 0xFF) > 128) == white) ++right;
    return right - left + 1;
  }

};

TEST_F(GlassBallDevice, AMagnifiedDiscOfTheSceneOverTheGradient) {
  auto layer = Layer();
  Prepare(*layer);
  ASSERT_TRUE(layer->BumpTexture());
  ASSERT_TRUE(layer->RimMask());
  const DS_PixelReadback frame = Frame(*layer, 0.0f);
  // Outside the ball, and in the square's corners outside the disc, the gradient.
  const int probes[][2] = {{3, 3}, {316, 3}, {3, 236}, {316, 236}, {160 + 105, 120 - 105}, {160 - 105, 120 + 105}};
  for (const auto& p : probes)
    EXPECT_TRUE(SameColour(frame.At(p[0], p[1]), Backdrop(p[1]), 20))
        << p[0] << ", " << p[1] << ": " << std::hex << frame.At(p[0], p[1]);
  // Inside, the stripes of the picture (40 screen pixels wide when laid out plainly): wider in
  // the middle of the lens, narrower towards its rim.
  for (int x : {140, 185, 60, 255}) {
    const std::uint32_t c = frame.At(x, 120);
    EXPECT_TRUE(SameColour(c, 0x000000) || SameColour(c, 0xFFFFFF)) << std::hex << c;
  }
  for (int x : {140, 185}) {
    EXPECT_GE(RunThrough(frame, x, 120), 42) << x;
    EXPECT_LT(RunThrough(frame, x, 120), 60) << x;
  }
  for (int x : {60, 255}) EXPECT_LT(RunThrough(frame, x, 120) + 6, RunThrough(frame, 140, 120)) << x;
}

TEST_F(GlassBallDevice, TheOverlayLiesOverTheDiscAndTheStandBelowIt) {
  auto bare = Layer(0, 50);
  Prepare(*bare);
  const DS_PixelReadback without = Frame(*bare, 0.0f);
  auto layer = Layer(0, 50);
  layer->overlayAOn.Set(1);
  layer->standOn.Set(1);
  Prepare(*layer);
  const DS_PixelReadback with = Frame(*layer, 0.0f);
  EXPECT_TRUE(SameColour(with.At(160, 120), kMagenta)) << std::hex << with.At(160, 120);
  EXPECT_FALSE(SameColour(without.At(160, 120), kMagenta));
  // The ball of size 50 reaches about 77 pixels from the centre; the stand lies below it.
  EXPECT_TRUE(SameColour(with.At(160, 215), kYellow)) << std::hex << with.At(160, 215);
  EXPECT_TRUE(SameColour(without.At(160, 215), Backdrop(215), 20)) << std::hex << without.At(160, 215);
  // Above the ball nothing changes.
  EXPECT_EQ(with.At(160, 20), without.At(160, 20));
}

TEST_F(GlassBallDevice, ScrollingMovesTheDiscsContentAndNothingElse) {
  auto layer = Layer(1);
  Prepare(*layer);
  const DS_PixelReadback first = Frame(*layer, 1.0f);
  const DS_PixelReadback second = Frame(*layer, 3.0f);  // phase + 0.125: the scene moves W / 16
  int inside = 0, outside = 0;
  for (int y = 0; y < kHeight; y += 3)
    for (int x = 0; x < kWidth; x += 3) {
      const float d = std::hypot(x - 160.0f, y - 120.0f);
      if (d > 112.0f && d < 130.0f) continue;  // the rim's filtered edge
      if (SameColour(first.At(x, y), second.At(x, y), 4)) continue;
      (d < 112.0f ? inside : outside) += 1;
    }
  EXPECT_GT(inside, 100);
  EXPECT_EQ(outside, 0);
}

TEST_F(GlassBallDevice, TheSwayFollowsTheSharedPhase) {
  auto layer = Layer(3);
  Prepare(*layer);
  layer->Update(0.0f);
  EXPECT_FLOAT_EQ(layer->SwayValueNow(), 1.0f);
  layer->Update(16.0f);
  EXPECT_NEAR(layer->SwayValueNow(), -1.0f, 1e-5f);
  // A still layer leaves the shared phase alone; another layer continues from it.
  auto still = Layer(0);
  Prepare(*still);
  still->Update(20.0f);
  EXPECT_FLOAT_EQ(still->SwayValueNow(), 0.0f);
  auto other = Layer(3);
  Prepare(*other);
  other->Update(24.0f);  // 8 s after the last scrolling update
  EXPECT_NEAR(other->SwayValueNow(), 0.0f, 1e-5f);
}

TEST_F(GlassBallDevice, EveryLevelOfTheGradientHoldsTheGradient) {
  auto layer = Layer();
  Prepare(*layer);
  const DS_ComHolder<IDirect3DTexture9>& gradient = layer->GradientTexture();
  ASSERT_TRUE(gradient);
  ASSERT_EQ(gradient->GetLevelCount(), 9u);
  for (UINT level = 0; level < gradient->GetLevelCount(); ++level) {
    SCOPED_TRACE(level);
    D3DSURFACE_DESC desc;
    ASSERT_EQ(gradient->GetLevelDesc(level, &desc), D3D_OK);
    D3DLOCKED_RECT r;
    ASSERT_EQ(gradient->LockRect(level, &r, nullptr, D3DLOCK_READONLY), D3D_OK);
    const auto row = [&](UINT y) { return *reinterpret_cast<const std::uint32_t*>(static_cast<const BYTE*>(r.pBits) + y * r.Pitch); };
    const std::uint32_t top = row(0) & 0xFFFFFF, bottom = row(desc.Height - 1) & 0xFFFFFF;
    gradient->UnlockRect(level);
    // Red fades out downwards and blue in; a level left unfilled would be black.
    EXPECT_GE(top >> 16, bottom >> 16);
    EXPECT_LE(top & 0xFF, bottom & 0xFF);
    EXPECT_NE(top | bottom, 0u);
  }
}

TEST_F(GlassBallDevice, LinksThatNameNothingLeaveTheLayerDrawing) {
  auto layer = Layer(3);
  for (DS_ImageFileLink* link : {&layer->overlayA, &layer->overlayB, &layer->stand, &layer->ballPicture})
    link->SetKey(DS_ResourceKey{u"C:\\absent\\picture.png", 1});
  layer->overlayAOn.Set(1);
  layer->standOn.Set(1);
  layer->backdropMode.Set(1);  // the absent ball picture as the backdrop: a picture of no size
  Prepare(*layer);
  const DS_PixelReadback frame = Frame(*layer, 1.0f);
  EXPECT_TRUE(std::isfinite(layer->PictureScaleX()));
  EXPECT_TRUE(std::isfinite(layer->PictureScaleY()));
  EXPECT_TRUE(std::isfinite(layer->Lens().cameraDistance));
  EXPECT_TRUE(std::isfinite(layer->Lens().magnification));
  const std::uint32_t c = frame.At(160, 120);
  EXPECT_TRUE(SameColour(c, 0x000000) || SameColour(c, 0xFFFFFF)) << std::hex << c;
}

TEST_F(GlassBallDevice, WithoutItsBuffersTheBallIsSkippedAndTheFrameRuns) {
  // Made while no device is current: no texture, buffer or quad could be created.
  auto layer = Layer(1);
  g_Device = nullptr;
  layer->CreateDeviceObjects();
  s_Device->MakeCurrent();
  EXPECT_FALSE(layer->BumpTexture());
  EXPECT_FALSE(layer->GradientTexture());
  layer->OnDeviceReset();
  layer->Layout(kWidth, kHeight);
  Device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0);
  const DS_PixelReadback frame = Frame(*layer, 1.0f);
  EXPECT_TRUE(std::isfinite(layer->Lens().cameraDistance));
  // Only the scene's own clear and picture draws ran, off screen: the back buffer is untouched.
  EXPECT_EQ(frame.At(160, 120), 0x00FF00u);
}

TEST_F(GlassBallDevice, DeviceLossAndResetWithTheBallCurrentAndWithItBecomingCurrentAfter) {
  auto layer = Layer(1);
  auto later = Layer(1);
  later->CreateDeviceObjects();  // made at scene start, current only after the loss
  Prepare(*layer);
  const DS_PixelReadback before = Frame(*layer, 2.0f);
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    layer->OnDeviceLost();
    later->OnDeviceLost();
    m_Manager->OnDeviceLost();
    ASSERT_EQ(Device()->Reset(&s_Device->PresentParameters()), D3D_OK);
    m_Manager->OnDeviceReset();
    layer->OnDeviceReset();
    layer->Layout(kWidth, kHeight);
    const DS_PixelReadback after = Frame(*layer, 2.0f);
    for (int y = 0; y < kHeight; y += 7)
      for (int x = 0; x < kWidth; x += 13) ASSERT_EQ(after.At(x, y), before.At(x, y)) << x << ", " << y;
  }
  later->OnDeviceReset();
  later->SetPicturePosition(kPicturePositionFill);
  later->Layout(kWidth, kHeight);
  const DS_PixelReadback fromLater = Frame(*later, 2.0f);
  for (int y = 0; y < kHeight; y += 7)
    for (int x = 0; x < kWidth; x += 13) ASSERT_EQ(fromLater.At(x, y), before.At(x, y)) << x << ", " << y;
}

}  // namespace
