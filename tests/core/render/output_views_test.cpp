// Output views: each output's render context keeps the view objects made on its own device.
#include <d3dx9.h>
#include <gtest/gtest.h>

#include "core/render/view_state.h"
#include "tests/core/render/render_device_fixture.h"

namespace render_test {
namespace {

// Two outputs with a device each: every output's view keeps the border quads made on its own
// device, and releasing one output's view leaves no object of its device behind.
TEST_F(RenderDevice, EachOutputsViewKeepsTheObjectsOfItsOwnDevice) {
  DS_WindowDevice second;
  ASSERT_TRUE(second.Open(200, 150, L"second output"));
  const DS_TextureInfo picture = BandPicture(Device(), 200, 100);

  s_Device->MakeCurrent();
  g_ViewState.SetBorderTexture(MakeSolidTexture(Device(), 0xFF000000u | kMagenta));
  g_ViewState.Configure(picture, kWidth, kHeight, kPicturePositionFit, false);

  second.MakeCurrent();
  g_ViewState.SetBorderTexture(MakeSolidTexture(second.Device(), 0xFFFFFFFF));
  DS_TextureInfo tall;
  tall.Assign(100, 200, DS_ComHolder<IDirect3DTexture9>());
  g_ViewState.Configure(tall, 200, 150, kPicturePositionFit, false);

  auto bordersDevice = [] {
    IDirect3DDevice9* device = nullptr;
    g_ViewState.borders[0].vertexBuffer->GetDevice(&device);
    device->Release();
    return device;
  };
  s_Device->MakeCurrent();
  EXPECT_EQ(bordersDevice(), Device());
  // Output 0 draws its own magenta bars at its own size.
  ASSERT_EQ(Device()->BeginScene(), D3D_OK);
  Clear();
  g_ViewState.DrawBorders();
  Device()->EndScene();
  DS_PixelReadback pixels;
  ASSERT_TRUE(pixels.ReadBackBuffer(Device()));
  EXPECT_TRUE(SameColour(pixels.At(160, 20), kMagenta));
  EXPECT_EQ(pixels.At(160, 120), kBlack);

  second.MakeCurrent();
  EXPECT_EQ(bordersDevice(), second.Device());
  ASSERT_EQ(second.Device()->BeginScene(), D3D_OK);
  second.Device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
  g_ViewState.DrawBorders();
  second.Device()->EndScene();
  ASSERT_TRUE(pixels.ReadBackBuffer(second.Device()));
  EXPECT_EQ(pixels.At(20, 75), kWhite);   // bars left and right of the tall picture
  EXPECT_EQ(pixels.At(100, 75), kBlack);

  second.Context().ReleaseView();
  s_Device->MakeCurrent();
  EXPECT_EQ(RefCount(second.Device()), 1u);  // nothing of the second device is held any more
}

}  // namespace
}  // namespace render_test
