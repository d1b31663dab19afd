// The first frame of an image set as the texture and picture the layer draws, for a set with
// frames and for one without.
#include <d3dx9.h>
#include <gtest/gtest.h>

#include <vector>

#include "core/render/image_set_frames.h"
#include "core/render/quads.h"
#include "core/render/view_state.h"
#include "tests/core/render/render_device_fixture.h"

namespace render_test {
namespace {

// An image set without frames gives no texture and the empty picture; the picture quad and the
// borders then draw nothing (no read out of bounds, no division by zero).
TEST_F(RenderDevice, FirstFrameOfAnEmptyImageSetIsNoTextureAndAnEmptyPicture) {
  struct FakeImageSet {
    std::vector<IDirect3DTexture9*> textures;
    unsigned width = 0, height = 0;
  };
  FakeImageSet empty;
  empty.width = 640;  // a size left from an earlier decode does not count without a frame
  empty.height = 480;
  EXPECT_FALSE(FirstTextureOf(empty));
  const DS_TextureInfo none = PictureOfFirstFrame(empty);
  EXPECT_FALSE(none.texture);
  EXPECT_EQ(none.width, 0u);
  EXPECT_FLOAT_EQ(none.aspect, 1.0f);

  const DS_ComHolder<IDirect3DTexture9> texture = MakeSolidTexture(Device(), 0xFFFFFFFF);
  FakeImageSet one;
  one.textures.push_back(texture.Get());
  one.width = 200;
  one.height = 100;
  {
    const DS_TextureInfo first = PictureOfFirstFrame(one);
    EXPECT_EQ(first.texture.Get(), texture.Get());
    EXPECT_FLOAT_EQ(first.aspect, 0.5f);
    EXPECT_EQ(RefCount(texture.Get()), 2u);
  }
  EXPECT_EQ(RefCount(texture.Get()), 1u);

  DS_PictureQuad quad;
  SetQuadTexCoordsPT(quad);
  quad.LoadPicture(PictureOfFirstFrame(empty));
  g_ViewState.SetBorderTexture(FirstTextureOf(empty));
  g_ViewState.Configure(quad.picture, kWidth, kHeight, kPicturePositionFit, false);
  ASSERT_EQ(Device()->BeginScene(), D3D_OK);
  Clear();
  DrawBackground(quad);
  g_ViewState.DrawBorders();
  Device()->EndScene();
  DS_PixelReadback pixels;
  ASSERT_TRUE(pixels.ReadBackBuffer(Device()));
  EXPECT_EQ(pixels.At(160, 120), kBlack);
}

}  // namespace
}  // namespace render_test
