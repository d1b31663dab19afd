// The default scene's underwater slide as the scene viewer plays it (its own loading and frame
// code, in this process): the whole reef wobbles, so every part of the picture changes between
// two frames, while the colours stay those of the picture.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <vector>

#include "core/render/device_globals.h"
#include "core/resources/resource_record.h"
#include "layers/slideshow/ds_slide_container.h"
#include "layers/slideshow/ds_slide_show.h"
#include "layers/slideshow/scene_document.h"
#include "layers/underwater/fake_undervater.h"
#include "tests/render/test_device.h"
#include "tools/scene-viewer/viewed_scene.h"
#include "tools/scene-viewer/viewer_options.h"

namespace {

constexpr int kWidth = 320, kHeight = 240;
// Two times within the slide (after its 2 s fade in), found from the slides before it, since
// other topics add slides to the scene too.
float kTimes[2] = {3.0f, 5.0f};

class UnderwaterScene : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_Device = new DS_TestDevice;
    ASSERT_TRUE(s_Device->Open(kWidth, kHeight, L"default scene"));
    std::ifstream file(VQ_DEFAULT_SCENE, std::ios::binary);
    ASSERT_TRUE(file) << VQ_DEFAULT_SCENE;
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    {
      DS_ResourceRecordTables tables;
      const auto show = ReadSceneDocument(bytes.data(), bytes.size(), [&](DS_IOF_Virtual& in, uint32_t version) {
        ReadResourceRecordTables(in, version, tables);
      });
      float start = 0.0f;
      bool found = false;
      for (const auto& slide : show->Slides()) {
        if (dynamic_cast<FakeUndervater*>(slide->GetLayer().get())) {
          found = true;
          break;
        }
        const DS_SlideTimes times = slide->Times();
        start += times.fadeIn + times.display + times.fadeOut;
      }
      ASSERT_TRUE(found) << "the default scene has an underwater slide";
      for (float& t : kTimes) t += start;
    }
    ViewerOptions options;
    options.width = kWidth;
    options.height = kHeight;
    options.times.assign(std::begin(kTimes), std::end(kTimes));
    options.step = 0.25f;
    std::srand(1);
    std::wstring error;
    std::unique_ptr<ViewedScene> scene = LoadViewedScene(bytes, options, error);
    ASSERT_NE(scene, nullptr) << std::string(error.begin(), error.end());
    IDirect3DDevice9* d = s_Device->Device();
    for (float t : FrameSchedule(options.times, options.step)) {
      ASSERT_EQ(d->BeginScene(), D3D_OK);
      scene->Frame(t);
      d->EndScene();
      for (float wanted : options.times) {
        if (wanted == t) {
          ASSERT_TRUE(s_Frames[t].ReadBackBuffer(d));
        }
      }
    }
  }
  static void TearDownTestSuite() {
    s_Frames.clear();
    delete s_Device;
    s_Device = nullptr;
  }

  static DS_TestDevice* s_Device;
  static std::map<float, DS_PixelReadback> s_Frames;
};
DS_TestDevice* UnderwaterScene::s_Device = nullptr;
std::map<float, DS_PixelReadback> UnderwaterScene::s_Frames;

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
