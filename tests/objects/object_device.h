// What the 3D-object tests share: a windowed device with a resource manager (meshes and pictures
// of common_res.dll beside the program), a 1024 x 768 picture size for the parameter sets, and a
// grey layer to draw the live objects over.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/layer/ds_2d_light.h"
#include "core/layer/ds_abobj.h"
#include "core/render/render_context.h"
#include "core/render/view_state.h"
#include "core/resources/doc_res_manager.h"
#include "tests/support/stored_picture.h"
#include "tools/device/window_device.h"

class ObjectDevice : public ::testing::Test {
 protected:
  static constexpr int kWidth = 256, kHeight = 192;

  void SetUp() override {
    m_Device = SharedDevice();
    ASSERT_NE(m_Device, nullptr) << "no device";
    m_Device->MakeCurrent();
    m_Manager = std::make_unique<DS_DocResManager>();
    g_DocResManager = m_Manager.get();
    SetPictureSize(1024, 768);
  }
  void TearDown() override {
    g_ViewState.ReleaseBorders();
    g_DocResManager = nullptr;
    m_Manager.reset();
    SetPictureSize(0, 0);
  }

  // One device for the whole program, opened by the first test that asks; the borders that the
  // view keeps on it are released after every test.
  static DS_WindowDevice* SharedDevice() {
    static const std::unique_ptr<DS_WindowDevice> device = [] {
      auto opened = std::make_unique<DS_WindowDevice>();
      return opened->Open(kWidth, kHeight, L"objects3d test") ? std::move(opened) : nullptr;
    }();
    return device.get();
  }

  static void SetPictureSize(int w, int h) {
    DS_ScreenMapping& mapping = CurrentRenderContext().mapping;
    mapping.pictureWidth = w;
    mapping.pictureHeight = h;
  }

  // A layer on a grey 1024 x 768 picture laid out on the back buffer, as a slide prepares it.
  std::unique_ptr<DS_2D_Light> MakeLayer() {
    const DS_ResourceKey key{u"grey.png", 1};
    StorePicture(*m_Manager, key, MakeSolidTexture(Device(), 0xFF808080u), 1024, 768);
    auto layer = std::make_unique<DS_2D_Light>();
    layer->SetPictureLink(key);
    layer->CreateDeviceObjects();
    layer->OnDeviceReset();
    layer->Layout(kWidth, kHeight);
    return layer;
  }

  // One frame of the layer and the objects at `time`, read back.
  DS_PixelReadback Draw(DS_2D_Light& layer, std::vector<DS_ABObj*> objects, float time) {
    DS_PixelReadback pixels;
    EXPECT_EQ(Device()->BeginScene(), D3D_OK);
    layer.Update(time);
    for (DS_ABObj* object : objects) object->Update(time);
    layer.RenderScene(objects.data(), objects.size());
    layer.PostRender();
    Device()->EndScene();
    EXPECT_TRUE(pixels.ReadBackBuffer(Device()));
    return pixels;
  }

  static int DifferingPixels(const DS_PixelReadback& a, const DS_PixelReadback& b) {
    int n = 0;
    for (int y = 0; y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x) n += SameColour(a.At(x, y), b.At(x, y), 2) ? 0 : 1;
    return n;
  }

  IDirect3DDevice9* Device() const { return m_Device->Device(); }
  DS_WindowDevice* m_Device = nullptr;
  std::unique_ptr<DS_DocResManager> m_Manager;
};
