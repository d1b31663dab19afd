// The default scene as the scene viewer plays it (its own loading and frame code, in this
// process), for the layer kinds' tests of their default-scene slides: where the first slide of a
// layer kind begins, and a suite whose frames at chosen times are read back. The program defines
// VQ_DEFAULT_SCENE, the document's path, and links the viewer's sources
// (vq_add_default_scene_test in cmake/wine-tests.cmake).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/resources/resource_record.h"
#include "scene/ds_slide_container.h"
#include "scene/ds_slide_show.h"
#include "scene/scene_document.h"
#include "tools/device/window_device.h"
#include "tools/scene-viewer/viewed_scene.h"
#include "tools/scene-viewer/viewer_options.h"

// The bytes of the default scene document; empty when it cannot be read.
inline std::vector<uint8_t> DefaultSceneBytes() {
  std::ifstream file(VQ_DEFAULT_SCENE, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// The time at which the first slide whose layer is a `Layer` begins; negative when none is.
template <typename Layer>
float SlideStart(const std::vector<uint8_t>& document) {
  DS_ResourceRecordTables tables;
  const auto show = ReadSceneDocument(document.data(), document.size(), [&](DS_IOF_Virtual& in, uint32_t version) {
    ReadResourceRecordTables(in, version, tables);
  });
  float start = 0.0f;
  for (const auto& slide : show->Slides()) {
    if (dynamic_cast<Layer*>(slide->GetLayer().get())) return start;
    const DS_SlideTimes times = slide->Times();
    start += times.fadeIn + times.display + times.fadeOut;
  }
  return -1.0f;
}

// A suite over frames of the default scene: SetUpTestSuite opens the device and calls Play with
// the times the suite's tests look at.
class DefaultSceneFrames : public ::testing::Test {
 public:
  static constexpr int kWidth = 320, kHeight = 240;

 protected:
  // Plays the document from its start on a back buffer of kWidth x kHeight, in steps of 0.25 s,
  // with the random generator seeded with 1, and reads the frames at `times` back. After each of
  // them `inspect` (when given) sees the scene as it stands at that time.
  using Inspect = std::function<void(float time, ViewedScene& scene)>;
  static void Play(const std::vector<uint8_t>& document, const std::vector<float>& times,
                   const Inspect& inspect = {}) {
    ASSERT_NE(s_Device, nullptr);
    ViewerOptions options;
    options.width = kWidth;
    options.height = kHeight;
    options.times = times;
    options.step = 0.25f;
    std::srand(1);
    std::wstring error;
    std::unique_ptr<ViewedScene> scene = LoadViewedScene(document, options, error);
    ASSERT_NE(scene, nullptr) << std::string(error.begin(), error.end());
    IDirect3DDevice9* d = s_Device->Device();
    for (float t : FrameSchedule(options.times, options.step)) {
      ASSERT_EQ(d->BeginScene(), D3D_OK);
      scene->Frame(t);
      d->EndScene();
      for (float wanted : options.times) {
        if (wanted == t) {
          ASSERT_TRUE(s_Frames[t].ReadBackBuffer(d));
          if (inspect) inspect(t, *scene);
        }
      }
    }
  }
  static void OpenDevice() {
    s_Device = std::make_unique<DS_WindowDevice>();
    ASSERT_TRUE(s_Device->Open(kWidth, kHeight, L"default scene"));
  }
  // The device opened and the default scene's bytes read (empty, the test failed, when the
  // document cannot be read).
  static std::vector<uint8_t> OpenDeviceWithDefaultScene() {
    OpenDevice();
    std::vector<uint8_t> bytes = DefaultSceneBytes();
    if (bytes.empty()) ADD_FAILURE() << "cannot read " << VQ_DEFAULT_SCENE;
    return bytes;
  }
  static void TearDownTestSuite() {
    s_Frames.clear();
    s_Device.reset();
  }

  static inline std::unique_ptr<DS_WindowDevice> s_Device;
  static inline std::map<float, DS_PixelReadback> s_Frames;
};
