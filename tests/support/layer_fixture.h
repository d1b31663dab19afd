// What the layer kinds' device tests share: one windowed device of 320 x 240 per suite,
// the view laid out as a slide starts it (Fit, no camera), a resource manager of the test's own
// as the current one, and frames of a layer drawn as the scene draws them.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

#include "core/layer/ds_2d_light.h"
#include "core/render/device_globals.h"
#include "core/render/view_state.h"
#include "core/resources/doc_res_manager.h"
#include "tests/support/stored_picture.h"
#include "tools/device/window_device.h"

class LayerFixture : public ::testing::Test {
 public:
  static constexpr int kWidth = 320, kHeight = 240;

 protected:
  static void SetUpTestSuite() {
    s_Device = new DS_WindowDevice;
    ASSERT_TRUE(s_Device->Open(kWidth, kHeight, L"layer kind test"));
  }
  static void TearDownTestSuite() {
    g_ViewState.ReleaseBorders();
    delete s_Device;
    s_Device = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(s_Device, nullptr);
    s_Device->MakeCurrent();
    g_ViewState.mode = kPicturePositionFit;
    g_ViewState.SetCamera(1.0f, 0.0f, 0.0f);
    m_Manager = std::make_unique<DS_DocResManager>();
    g_DocResManager = m_Manager.get();
  }
  void TearDown() override {
    g_ViewState.ReleaseBorders();
    m_Manager.reset();
    g_DocResManager = nullptr;
  }
  IDirect3DDevice9* Device() const { return s_Device->Device(); }

  // Update, the scene up to the post render, the post render; the back buffer read back.
  DS_PixelReadback Frame(DS_2D_Light& layer, float time) {
    layer.Update(time);
    Device()->BeginScene();
    layer.RenderScene(nullptr, 0);
    layer.PostRender();
    Device()->EndScene();
    DS_PixelReadback pixels;
    EXPECT_TRUE(pixels.ReadBackBuffer(Device()));
    return pixels;
  }

  // A layer as its slide prepares it, on the picture of `key`: device objects, the reset's
  // states and target pair, laid out over the back buffer.
  void PrepareOnPicture(DS_2D_Light& layer, const DS_ResourceKey& key) {
    layer.SetPictureLink(key);
    layer.CreateDeviceObjects();
    layer.OnDeviceReset();
    layer.Layout(kWidth, kHeight);
  }

  // A device loss and reset in the scene's order: the layers let go, then the manager; after the
  // reset (which must succeed) the manager, then the current layer, laid out again.
  void LoseAndResetDevice(std::initializer_list<DS_2D_Light*> layers, DS_2D_Light& current) {
    for (DS_2D_Light* layer : layers) layer->OnDeviceLost();
    m_Manager->OnDeviceLost();
    ASSERT_EQ(Device()->Reset(&s_Device->PresentParameters()), D3D_OK);
    m_Manager->OnDeviceReset();
    current.OnDeviceReset();
    current.Layout(kWidth, kHeight);
  }

  // Pixels of a sampled grid (every 13th column of every 7th row) that differ by more than
  // `tolerance`.
  static int DifferingSamples(const DS_PixelReadback& a, const DS_PixelReadback& b, int tolerance) {
    int differing = 0;
    for (int y = 0; y < kHeight; y += 7)
      for (int x = 0; x < kWidth; x += 13) differing += SameColour(a.At(x, y), b.At(x, y), tolerance) ? 0 : 1;
    return differing;
  }

  std::unique_ptr<DS_DocResManager> m_Manager;
  static inline DS_WindowDevice* s_Device = nullptr;
};

// The object kinds' device tests: the fixture above with a plain layer laid out over the whole
// output, through which the objects draw.
class ObjectLayerFixture : public LayerFixture {
 protected:
  void SetUp() override {
    LayerFixture::SetUp();
    m_Layer = std::make_unique<DS_2D_Light>();
    m_Layer->CreateDeviceObjects();
    m_Layer->OnDeviceReset();
    m_Layer->Layout(kWidth, kHeight);
  }
  void TearDown() override {
    m_Layer.reset();
    LayerFixture::TearDown();
  }

  std::unique_ptr<DS_2D_Light> m_Layer;
};
