// Sprite batches on the device: batches beyond one chunk draw the first sprites of each chunk and
// their last, and the chunks' texture references survive resizing and self-assignment.
#include <d3dx9.h>
#include <gtest/gtest.h>

#include "core/render/screen_sprite_batch.h"
#include "tests/core/render/render_device_fixture.h"

namespace render_test {
namespace {

class SpriteBatchOnDevice : public RenderDevice, public ::testing::WithParamInterface<int> {};

TEST_P(SpriteBatchOnDevice, DrawsTheFirstSpritesOfEachChunkAndTheLast) {
  const int n = GetParam();
  DS_ScreenSpriteBatch batch;
  batch.SetTexture(MakeSolidTexture(Device(), 0xFFFFFFFF));
  batch.Resize(n);
  ASSERT_EQ(batch.Chunks().size(), static_cast<size_t>(n / 16383 + 1));
  for (const DS_SpriteChunk& chunk : batch.Chunks()) {
    EXPECT_EQ(chunk.texture.Get(), batch.Chunks()[0].texture.Get());
    // A chunk without sprites has no (zero-length) buffers.
    EXPECT_EQ(static_cast<bool>(chunk.vertexBuffer), chunk.vertexCount > 0);
  }
  batch.Lock();
  PlaceSprite(batch, 0, 40, 40, 0xFFFF0000);
  PlaceSprite(batch, 16383, 120, 40, 0xFF0000FF);
  PlaceSprite(batch, n - 1, 200, 150, 0xFF00FF00);
  batch.Unlock();

  ASSERT_EQ(Device()->BeginScene(), D3D_OK);
  Clear();
  Device()->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  batch.Draw();
  s_Device->SetDefaultStates();
  Device()->EndScene();
  DS_PixelReadback pixels;
  ASSERT_TRUE(pixels.ReadBackBuffer(Device()));
  EXPECT_EQ(pixels.At(40, 40), kRed);
  // With 16384 sprites, sprite 16383 is also the last one, which moved on to (200, 150).
  EXPECT_EQ(pixels.At(120, 40), n - 1 == 16383 ? kBlack : kBlue);
  EXPECT_EQ(pixels.At(200, 150), kGreen);
  EXPECT_EQ(pixels.At(200, 162), kBlack);
  EXPECT_EQ(pixels.At(80, 150), kBlack);  // untouched sprites stay invisible
}

// 16384 sprites: sprite 16383 is sprite 0 of chunk 1. 32766: the last chunk is empty.
INSTANTIATE_TEST_SUITE_P(BeyondOneChunk, SpriteBatchOnDevice, ::testing::Values(16384, 16385, 32766));

// The chunks' only references to the texture: resizing and re-setting it from a chunk's own
// holder keep it alive.
TEST_F(RenderDevice, SpriteBatchTextureSurvivesResizeAndSelfAssignment) {
  DS_ScreenSpriteBatch batch;
  {
    DS_ComHolder<IDirect3DTexture9> texture = MakeSolidTexture(Device(), 0xFFFFFFFF);
    batch.SetTexture(texture);
  }
  ASSERT_EQ(RefCount(batch.Chunks()[0].texture.Get()), 1u);
  batch.Resize(20000);
  ASSERT_EQ(batch.Chunks().size(), 2u);
  EXPECT_EQ(RefCount(batch.Chunks()[0].texture.Get()), 2u);
  batch.Resize(5);
  EXPECT_EQ(RefCount(batch.Chunks()[0].texture.Get()), 1u);
  batch.SetTexture(batch.Chunks()[0].texture);
  EXPECT_EQ(RefCount(batch.Chunks()[0].texture.Get()), 1u);
  D3DSURFACE_DESC desc;
  EXPECT_EQ(batch.Chunks()[0].texture->GetLevelDesc(0, &desc), D3D_OK);
}

}  // namespace
}  // namespace render_test
