// The default scene, every kind it holds included, through cycles of its slides with a device
// loss and reset in the middle of every slide: each reset succeeds, the frame after it is drawn,
// and the device holds as many references at the start of every later cycle as after the first
// (every texture, buffer, surface, effect and font holds one), so no slide switch or loss leaves a
// device object behind.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/render/device_globals.h"
#include "core/render/view_state.h"
#include "core/resources/doc_res_manager.h"
#include "scene/scene_document.h"
#include "tools/device/window_device.h"

namespace {

constexpr int kWidth = 160, kHeight = 120;
std::string g_ScenePath;

ULONG DeviceReferences(IDirect3DDevice9* device) {
  device->AddRef();
  return device->Release();
}

// Whether the back buffer holds more than one colour.
bool Varied(DS_WindowDevice& device) {
  DS_PixelReadback pixels;
  if (!pixels.ReadBackBuffer(device.Device())) return false;
  for (int y = 0; y < kHeight; y += 4)
    for (int x = 0; x < kWidth; x += 4)
      if (pixels.At(x, y) != pixels.At(0, 0)) return true;
  return false;
}

TEST(DeviceGrowth, CyclesOfSwitchesAndLossesKeepTheDeviceReferencesOfTheFirstCycle) {
  std::ifstream file(g_ScenePath, std::ios::binary);
  ASSERT_TRUE(file) << g_ScenePath;
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  DS_WindowDevice device;
  ASSERT_TRUE(device.Open(kWidth, kHeight, L"device growth"));
  std::unique_ptr<DS_SlideShow_Light> show = LoadSceneFromBytes(bytes.data(), bytes.size());
  ASSERT_TRUE(show);
  show->StartScene(1);
  const size_t slides = show->Slides().size();
  ASSERT_GE(slides, 2u);

  float time = 0;
  const auto frame = [&] {
    show->Update(time);
    ASSERT_EQ(device.Device()->BeginScene(), D3D_OK);
    show->Render();
    device.Device()->EndScene();
  };
  // Frames three seconds apart until the show moves to the next slide; a loss and reset halfway.
  const auto playSlide = [&] {
    const size_t current = show->Sequence().Current();
    const auto times = show->Slides()[current]->Times();
    const float middle = time + times.fadeIn + times.display / 2;
    bool lost = false;
    for (int guard = 0; show->Sequence().Current() == current && guard < 10000; ++guard) {
      time += 3.0f;
      if (!lost && time >= middle) {
        lost = true;
        // A slide may show one colour for a while (falling code starts on black): the frame
        // after the reset is asked to show a picture when the frame before the loss did.
        const bool variedBefore = Varied(device);
        show->OnDeviceLost();
        ASSERT_EQ(device.Device()->Reset(&device.PresentParameters()), D3D_OK) << "slide " << current;
        device.MakeCurrent();
        show->OnDeviceReset();
        frame();
        if (variedBefore) {
          EXPECT_TRUE(Varied(device)) << "nothing drawn after the reset in slide " << current;
        }
        continue;
      }
      frame();
    }
    ASSERT_NE(show->Sequence().Current(), current) << "the slide never ended";
  };

  frame();  // the first frame makes slide 0 current
  for (size_t i = 0; i < slides; ++i) playSlide();  // the warm-up cycle
  ASSERT_EQ(show->Sequence().Current(), 0u);
  const ULONG afterFirstCycle = DeviceReferences(device.Device());
  for (size_t i = 0; i < slides; ++i) playSlide();
  EXPECT_EQ(DeviceReferences(device.Device()), afterFirstCycle) << "after the second cycle";
  show.reset();
  g_ViewState.ReleaseBorders();
  g_DocResManager = nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc > 1) g_ScenePath = argv[1];
  return RUN_ALL_TESTS();
}
