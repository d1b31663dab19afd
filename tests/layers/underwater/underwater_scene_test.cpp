// The default scene's underwater slide as the scene viewer plays it: the whole reef wobbles, so
// every part of the picture changes between two frames, while it stays the reef's water.
#include <gtest/gtest.h>

#include <vector>

#include "layers/underwater/fake_undervater.h"
#include "tests/support/default_scene_frames.h"

namespace {

constexpr int kWidth = DefaultSceneFrames::kWidth, kHeight = DefaultSceneFrames::kHeight;
// Two times within the slide (after its 2 s fade in), found from the slides before it, since
// other topics add slides to the scene too.
float kTimes[2] = {3.0f, 5.0f};

class UnderwaterScene : public DefaultSceneFrames {
 protected:
  static void SetUpTestSuite() {
    const std::vector<uint8_t> bytes = OpenDeviceWithDefaultScene();
    if (bytes.empty()) return;
    const float start = SlideStart<FakeUndervater>(bytes);
    ASSERT_GE(start, 0.0f) << "the default scene has an underwater slide";
    for (float& t : kTimes) t += start;
    Play(bytes, {kTimes[0], kTimes[1]});
  }
};

TEST_F(UnderwaterScene, EveryPartOfTheReefWobblesBetweenTwoFrames) {
  const DS_PixelReadback& first = s_Frames.at(kTimes[0]);
  const DS_PixelReadback& second = s_Frames.at(kTimes[1]);
  // Blocks of 40 x 40 pixels: each changes somewhere.
  for (int y0 = 0; y0 < kHeight; y0 += 40)
    for (int x0 = 0; x0 < kWidth; x0 += 40) {
      int changed = 0;
      for (int y = y0; y < y0 + 40; ++y)
        for (int x = x0; x < x0 + 40; ++x) changed += SameColour(first.At(x, y), second.At(x, y), 6) ? 0 : 1;
      EXPECT_GT(changed, 0) << "block at " << x0 << ", " << y0;
    }
  // Still the reef: blue-green water at the top, not black.
  const std::uint32_t water = first.At(kWidth / 2, 20);
  EXPECT_GT((water >> 8) & 0xFF, 100u) << std::hex << water;
  EXPECT_GT(water & 0xFF, 100u) << std::hex << water;
}

}  // namespace
