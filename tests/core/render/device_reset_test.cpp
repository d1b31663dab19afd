// Device loss: after releasing the default-pool objects the device resets, and the managed
// buffers drawn before still draw.
#include <d3dx9.h>
#include <gtest/gtest.h>

#include "core/render/quads.h"
#include "core/render/render_target_pair.h"
#include "core/render/screen_sprite_batch.h"
#include "core/render/view_state.h"
#include "tests/core/render/render_device_fixture.h"

namespace render_test {
namespace {

// Device loss: after drawing through the pair and with managed objects alive, releasing the
// default-pool objects lets Reset succeed; the pair is made again and the managed sprite batch
// and picture quad still draw.
TEST_F(RenderDevice, ResetSucceedsAfterReleasingTheDefaultPoolObjectsAndManagedBuffersSurvive) {
  DS_RenderTargetPair pair;
  ASSERT_TRUE(pair.Create(kWidth, kHeight));
  DS_ScreenSpriteBatch batch;
  batch.SetTexture(MakeSolidTexture(Device(), 0xFFFFFFFF));
  batch.Resize(3);
  const DS_TextureInfo picture = BandPicture(Device(), 200, 100);
  DS_PictureQuad quad;
  SetQuadTexCoordsPT(quad);
  quad.LoadPicture(picture);
  g_ViewState.SetBorderTexture(MakeSolidTexture(Device(), 0xFF000000u | kMagenta));
  g_ViewState.Configure(picture, kWidth, kHeight, kPicturePositionFit, false);

  for (int frame = 0; frame < 3; ++frame) {
    ASSERT_EQ(Device()->BeginScene(), D3D_OK);
    ASSERT_TRUE(pair.Begin(pair.current));
    Clear();
    DrawBackground(quad);
    ASSERT_NE(pair.Swap(), nullptr);
    pair.End();
    Device()->SetTexture(0, pair.current.Get());  // the scene texture read by a later pass
    Device()->EndScene();
  }

  Device()->SetTexture(0, nullptr);
  pair.Release();
  ASSERT_EQ(Device()->Reset(&s_Device->PresentParameters()), D3D_OK);
  s_Device->SetDefaultStates();
  ASSERT_TRUE(pair.Create(kWidth, kHeight));

  batch.Lock();
  PlaceSprite(batch, 2, 300, 20, 0xFF00FF00);
  batch.Unlock();
  ASSERT_EQ(Device()->BeginScene(), D3D_OK);
  Clear();
  DrawBackground(quad);
  g_ViewState.DrawBorders();
  Device()->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  batch.Draw();
  s_Device->SetDefaultStates();
  Device()->EndScene();
  DS_PixelReadback pixels;
  ASSERT_TRUE(pixels.ReadBackBuffer(Device()));
  EXPECT_TRUE(SameColour(pixels.At(40, 120), kRed));
  EXPECT_TRUE(SameColour(pixels.At(280, 120), kYellow));
  EXPECT_TRUE(SameColour(pixels.At(120, 20), kMagenta));
  EXPECT_EQ(pixels.At(300, 20), kGreen);
}

}  // namespace
}  // namespace render_test
