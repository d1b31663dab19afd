// The render-target pair alternates its textures and restores the device's own surfaces; a pair
// without textures changes nothing.
#include <d3dx9.h>
#include <gtest/gtest.h>

#include "core/render/render_target_pair.h"
#include "tests/core/render/render_device_fixture.h"

namespace render_test {
namespace {

TEST_F(RenderDevice, RenderTargetPairAlternatesAndRestoresTheDeviceSurfaces) {
  DS_ComHolder<IDirect3DSurface9> backBuffer, depth;
  ASSERT_EQ(Device()->GetRenderTarget(0, backBuffer.Receive()), D3D_OK);
  ASSERT_EQ(Device()->GetDepthStencilSurface(depth.Receive()), D3D_OK);
  const ULONG backBufferRefs = RefCount(backBuffer.Get()), depthRefs = RefCount(depth.Get());

  DS_RenderTargetPair pair;
  ASSERT_TRUE(pair.Create(64, 32));
  EXPECT_EQ(pair.index, 0);
  EXPECT_EQ(pair.current.Get(), pair.textures[0].Get());
  ASSERT_EQ(Device()->BeginScene(), D3D_OK);
  ASSERT_TRUE(pair.Begin(pair.current));
  DS_ComHolder<IDirect3DSurface9> target, noDepth;
  Device()->GetRenderTarget(0, target.Receive());
  DS_ComHolder<IDirect3DSurface9> level0;
  pair.textures[0]->GetSurfaceLevel(0, level0.Receive());
  EXPECT_EQ(target.Get(), level0.Get());
  EXPECT_NE(Device()->GetDepthStencilSurface(noDepth.Receive()), D3D_OK);
  target.Reset();
  level0.Reset();
  Clear(0xFFFF0000);

  const DS_RenderTargetPair::Texture* before = pair.Swap();
  ASSERT_NE(before, nullptr);
  EXPECT_EQ(before->Get(), pair.textures[0].Get());
  EXPECT_EQ(pair.index, 1);
  EXPECT_EQ(pair.current.Get(), pair.textures[1].Get());
  DS_PixelReadback pixels;
  ASSERT_TRUE(pixels.ReadTexture(Device(), pair.textures[1].Get()));
  EXPECT_EQ(pixels.At(10, 10), kBlack);  // cleared to opaque black by the swap
  Clear(0xFF00FF00);
  pair.End();
  Device()->EndScene();

  // Exactly the saved surfaces are back, and no reference to them is left behind.
  DS_ComHolder<IDirect3DSurface9> restored, restoredDepth;
  Device()->GetRenderTarget(0, restored.Receive());
  Device()->GetDepthStencilSurface(restoredDepth.Receive());
  EXPECT_EQ(restored.Get(), backBuffer.Get());
  EXPECT_EQ(restoredDepth.Get(), depth.Get());
  restored.Reset();
  restoredDepth.Reset();
  EXPECT_EQ(RefCount(backBuffer.Get()), backBufferRefs);
  EXPECT_EQ(RefCount(depth.Get()), depthRefs);
  EXPECT_FALSE(pair.savedRenderTarget);

  ASSERT_TRUE(pixels.ReadTexture(Device(), pair.textures[0].Get()));
  EXPECT_EQ(pixels.At(10, 10), kRed);
  ASSERT_TRUE(pixels.ReadTexture(Device(), pair.textures[1].Get()));
  EXPECT_EQ(pixels.At(10, 10), kGreen);

  // A second swap comes back to texture 0 and returns texture 1; re-creation keeps the index.
  ASSERT_EQ(Device()->BeginScene(), D3D_OK);
  ASSERT_TRUE(pair.Begin(pair.current));
  before = pair.Swap();
  ASSERT_NE(before, nullptr);
  EXPECT_EQ(before->Get(), pair.textures[1].Get());
  EXPECT_EQ(pair.index, 0);
  ASSERT_NE(pair.Swap(), nullptr);
  pair.End();
  Device()->EndScene();
  EXPECT_EQ(pair.index, 1);
  ASSERT_TRUE(pair.Create(64, 32));
  EXPECT_EQ(pair.index, 1);
  EXPECT_EQ(pair.current.Get(), pair.textures[1].Get());
}

// A pair whose textures could not be made reports it and leaves the device's target alone.
TEST_F(RenderDevice, RenderTargetPairWithoutTexturesChangesNothing) {
  DS_RenderTargetPair pair;
  EXPECT_FALSE(pair.Create(0, 0));
  EXPECT_FALSE(pair.current);
  DS_ComHolder<IDirect3DSurface9> backBuffer;
  Device()->GetRenderTarget(0, backBuffer.Receive());
  EXPECT_FALSE(pair.Begin(pair.current));
  EXPECT_EQ(pair.Swap(), nullptr);
  pair.End();
  DS_ComHolder<IDirect3DSurface9> still;
  Device()->GetRenderTarget(0, still.Receive());
  EXPECT_EQ(still.Get(), backBuffer.Get());
  EXPECT_EQ(pair.index, 0);
}

}  // namespace
}  // namespace render_test
