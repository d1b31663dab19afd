// The device the rendering base's tests draw on (windowed HAL under Wine, llvmpipe), opened once
// for each suite of tests over it, and what those tests share: the colours they probe for, a
// picture of four coloured bands, drawing a picture quad as the layer draws its background, and
// placing one sprite of a batch.
#pragma once

#include <d3dx9.h>
#include <gtest/gtest.h>

#include <cstdint>

#include "core/render/mesh_ops.h"
#include "core/render/quads.h"
#include "core/render/screen_sprite_batch.h"
#include "core/render/view_state.h"
#include "tools/device/window_device.h"

namespace render_test {

inline constexpr int kWidth = 320, kHeight = 240;
inline constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kYellow = 0xFFFF00;
inline constexpr std::uint32_t kMagenta = 0xFF00FF, kBlack = 0x000000, kWhite = 0xFFFFFF;
inline constexpr std::uint32_t kBands[4] = {kRed, kGreen, kBlue, kYellow};

class RenderDevice : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_Device = new DS_WindowDevice;
    ASSERT_TRUE(s_Device->Open(kWidth, kHeight));
  }
  static void TearDownTestSuite() {
    g_ViewState.ReleaseBorders();
    delete s_Device;
    s_Device = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(s_Device, nullptr);
    ASSERT_NE(s_Device->Device(), nullptr);
    s_Device->MakeCurrent();
    s_Device->SetDefaultStates();
  }
  IDirect3DDevice9* Device() const { return s_Device->Device(); }
  void Clear(std::uint32_t colour = 0xFF000000) const {
    Device()->Clear(0, nullptr, D3DCLEAR_TARGET, colour, 1.0f, 0);
  }

  inline static DS_WindowDevice* s_Device = nullptr;
};

// A picture of four bands in red, green, blue, yellow: vertical bands (left to right) when it is
// wide, horizontal (top to bottom) when it is tall.
inline DS_TextureInfo BandPicture(IDirect3DDevice9* device, int w, int h) {
  const bool wide = w >= h;
  DS_TextureInfo info;
  info.Assign(static_cast<unsigned>(w), static_cast<unsigned>(h), MakeTexture(device, w, h, [=](int x, int y) {
                const int band = wide ? x * 4 / w : y * 4 / h;
                return 0xFF000000u | kBands[band];
              }));
  return info;
}

inline void DrawBackground(const DS_PictureQuad& quad) {
  g_ViewState.ApplyTransforms();
  g_ViewState.SetWorld(quad.world);
  DrawQuadPT(quad);
}

struct Probe {
  int x, y;
  std::uint32_t colour;
};

inline void PlaceSprite(DS_ScreenSpriteBatch& batch, int i, float x, float y, DWORD colour) {
  batch.SetSpriteCorners(i, D3DXVECTOR3(x, y, 0), D3DXVECTOR3(8, 0, 0), D3DXVECTOR3(0, 8, 0));
  batch.SetSpriteColour(i, colour);
}

}  // namespace render_test
