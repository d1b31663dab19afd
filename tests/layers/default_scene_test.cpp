// The default scene's lake and glass-ball slides as the scene viewer plays them (its own loading
// and frame code, in this process): the lake's upper part is the plain picture while its lower
// part shows the band above the horizon mirrored, rippling from frame to frame through the bump
// map of the document's mask; the glass ball shows its disc over the dark blue
// gradient with the stand below, and its content sways between frames.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

#include "core/render/device_globals.h"
#include "layers/glass_ball/ds_glass_ball_light.h"
#include "layers/lake/fake_lake_2d.h"
#include "tests/support/default_scene_frames.h"

namespace {

constexpr int kWidth = DefaultSceneFrames::kWidth, kHeight = DefaultSceneFrames::kHeight;
// Times within the lake's and the glass ball's slides (2 s of fade in, 10 s shown), found from
// the slides before them, since other topics add slides to the scene too.
float kLakeTimes[2] = {3.0f, 5.0f};
float kBallTimes[2] = {4.0f, 8.0f};

int Channel(std::uint32_t colour, int shift) { return static_cast<int>((colour >> shift) & 0xFF); }

// What the lake slide showed besides its frame: its layer's picture drawn plain, as the lake
// draws it before its waves, and the format of the bump map it draws them with.
DS_PixelReadback g_PlainLake;
D3DFORMAT g_LakeBumpFormat = D3DFMT_UNKNOWN;

class DefaultScene : public DefaultSceneFrames {
 protected:
  static void SetUpTestSuite() {
    const std::vector<uint8_t> bytes = OpenDeviceWithDefaultScene();
    if (bytes.empty()) return;
    const float lake = SlideStart<FakeLake2D>(bytes), ball = SlideStart<DS_GlassBallLight>(bytes);
    ASSERT_GE(lake, 0.0f) << "the default scene has a lake slide";
    ASSERT_GE(ball, 0.0f) << "the default scene has a glass-ball slide";
    for (float& t : kLakeTimes) t += lake;
    for (float& t : kBallTimes) t += ball;
    Play(bytes, {kLakeTimes[0], kLakeTimes[1], kBallTimes[0], kBallTimes[1]}, [](float t, ViewedScene& scene) {
      auto* lake = dynamic_cast<FakeLake2D*>(scene.TracedLayer());
      if (t != kLakeTimes[0] || !lake) return;
      if (lake->BumpTexture()) {
        D3DSURFACE_DESC desc{};
        lake->BumpTexture()->GetLevelDesc(0, &desc);
        g_LakeBumpFormat = desc.Format;
      }
      IDirect3DDevice9* d = s_Device->Device();
      d->BeginScene();
      lake->DS_2D_Light::RenderBackground(false);
      d->EndScene();
      EXPECT_TRUE(g_PlainLake.ReadBackBuffer(d));
    });
  }
};

TEST_F(DefaultScene, TheLakeMirrorsTheBandAboveItsHorizon) {
  const DS_PixelReadback& first = s_Frames.at(kLakeTimes[0]);
  const DS_PixelReadback& second = s_Frames.at(kLakeTimes[1]);
  // The picture fills the 4:3 screen; the horizon lies at 0.625 of its height.
  const int horizon = kHeight * 5 / 8;
  for (int y = 0; y < horizon - 12; y += 6)
    for (int x = 0; x < kWidth; x += 16) ASSERT_EQ(first.At(x, y), second.At(x, y)) << x << ", " << y;
  // Below it the band above comes back upside down under the green tint (0x008040), whose alpha
  // grows from 26 at the horizon to 63 at the bottom.
  int matched = 0, compared = 0;
  const int depth = kHeight - horizon;
  for (int k = 4; k < depth; k += 3)
    for (int x = 4; x < kWidth; x += 8) {
      const float alpha = (26.0f + 37.0f * static_cast<float>(k) / static_cast<float>(depth)) / 255.0f;
      const std::uint32_t above = first.At(x, horizon - k), below = first.At(x, horizon + k);
      const int tint[3] = {0x00, 0x80, 0x40};
      bool same = true;
      for (int c = 0; c < 3; ++c) {
        const float expected = static_cast<float>(Channel(above, 16 - 8 * c)) * (1.0f - alpha) + tint[c] * alpha;
        same = same && std::fabs(expected - static_cast<float>(Channel(below, 16 - 8 * c))) < 24.0f;
      }
      ++compared;
      if (same) ++matched;
    }
  EXPECT_GT(matched * 10, compared * 8);
}

TEST_F(DefaultScene, TheLakeIsThePlainPictureAboveItsHorizonAndRipplesBelowIt) {
  ASSERT_EQ(g_PlainLake.Width(), kWidth) << "the lake slide was current at its first time";
  // The document's mask, a V8U8 DDS, is the bump map.
  EXPECT_EQ(g_LakeBumpFormat, D3DFMT_V8U8);
  const DS_PixelReadback& first = s_Frames.at(kLakeTimes[0]);
  const DS_PixelReadback& second = s_Frames.at(kLakeTimes[1]);
  const int horizon = kHeight * 5 / 8;
  int differentAbove = 0, unlikePicture = 0, movedBelow = 0, below = 0;
  for (int y = 0; y < kHeight; y += 2)
    for (int x = 0; x < kWidth; x += 2) {
      if (y < horizon - 12) {
        if (!SameColour(first.At(x, y), g_PlainLake.At(x, y), 2)) ++differentAbove;
        continue;
      }
      if (y < horizon + 4) continue;  // the strip and the horizon line
      ++below;
      if (!SameColour(first.At(x, y), g_PlainLake.At(x, y), 8)) ++unlikePicture;
      if (!SameColour(first.At(x, y), second.At(x, y), 4)) ++movedBelow;
    }
  EXPECT_EQ(differentAbove, 0);
  EXPECT_GT(unlikePicture * 2, below) << "below the horizon lies the reflection, not the picture";
  EXPECT_GT(movedBelow * 10, below) << "the reflection ripples between the frames: " << movedBelow << " of " << below;
}

TEST_F(DefaultScene, TheGlassBallSwaysOverItsGradientAboveItsStand) {
  const DS_PixelReadback& first = s_Frames.at(kBallTimes[0]);
  const DS_PixelReadback& second = s_Frames.at(kBallTimes[1]);
  // The backdrop: dark blue (0x10 0x1C 0x50) at the top fading to black at the bottom.
  EXPECT_TRUE(SameColour(first.At(4, 1), 0x101C50, 10)) << std::hex << first.At(4, 1);
  EXPECT_TRUE(SameColour(first.At(4, kHeight - 1), 0x000000, 10)) << std::hex << first.At(4, kHeight - 1);
  EXPECT_EQ(first.At(4, kHeight / 2), second.At(4, kHeight / 2));
  // The disc is bright glass and snow, unlike the backdrop around it.
  EXPECT_GT(Channel(first.At(kWidth / 2, kHeight / 2), 8), 120);
  // The stand below the disc: brass, more red than blue.
  const std::uint32_t stand = first.At(kWidth / 2, kHeight - 4);
  EXPECT_GT(Channel(stand, 16), Channel(stand, 0) + 60) << std::hex << stand;
  // The sway moves the content inside the disc.
  int moved = 0;
  for (int y = kHeight / 2; y < kHeight / 2 + 60; y += 3)
    for (int x = kWidth / 2 - 60; x < kWidth / 2 + 60; x += 3)
      if (!SameColour(first.At(x, y), second.At(x, y), 8)) ++moved;
  EXPECT_GT(moved, 50);
}

}  // namespace
