// Pre-transformed quads on the device: corner order for texture and alpha, and the centred
// square of the loading picture.
#include <d3dx9.h>
#include <gtest/gtest.h>

#include "core/render/mesh_ops.h"
#include "core/render/quads.h"
#include "tests/core/render/render_device_fixture.h"

namespace render_test {
namespace {

// Pre-transformed quads: the screen quad's corners in strip order, and per-corner alphas with
// corner 0 the left-bottom one.
TEST_F(RenderDevice, ScreenQuadsKeepCornerOrderForTextureAndAlpha) {
  DS_ScreenQuad screen;
  screen.SetBackBuffer();
  EXPECT_FLOAT_EQ(screen.corners[0].y, static_cast<float>(kHeight));
  EXPECT_FLOAT_EQ(screen.corners[3].x, static_cast<float>(kWidth));
  // A texture whose top half is red and bottom half blue must show the right way up.
  DS_TexturedQuad textured;
  textured.SetFromScreenQuad(MakeTexture(Device(), 8, 8, [](int, int y) { return y < 4 ? 0xFFFF0000u : 0xFF0000FFu; }),
                             screen);
  DS_MeshBase shaded;
  MakeColouredQuadTPC(shaded, 0x00FFFFFF, screen);
  SetQuadAlphasTPC(shaded, 1.0f, 0.0f, 0.0f, 0.0f);

  ASSERT_EQ(Device()->BeginScene(), D3D_OK);
  Clear();
  ASSERT_TRUE(CanDraw(textured));
  BindQuadTPCT(textured);
  DrawBoundPrimitives(textured);
  Device()->EndScene();
  DS_PixelReadback pixels;
  ASSERT_TRUE(pixels.ReadBackBuffer(Device()));
  EXPECT_EQ(pixels.At(160, 10), kRed);
  EXPECT_EQ(pixels.At(160, 230), kBlue);

  // The loading picture's square: 2/3 of the height, centred (80..240 x 40..200).
  DS_TexturedQuad loading;
  MakeCenteredQuadFromResource(loading, MakeSolidTexture(Device(), 0xFFFFFFFF));
  ASSERT_EQ(Device()->BeginScene(), D3D_OK);
  Clear();
  BindQuadTPCT(loading);
  DrawBoundPrimitives(loading);
  Device()->EndScene();
  ASSERT_TRUE(pixels.ReadBackBuffer(Device()));
  const Probe square[] = {{82, 42, kWhite}, {237, 197, kWhite}, {77, 120, kBlack}, {243, 120, kBlack},
                          {160, 37, kBlack}, {160, 203, kBlack}};
  for (const Probe& p : square) EXPECT_EQ(pixels.At(p.x, p.y), p.colour) << "(" << p.x << ", " << p.y << ")";

  ASSERT_EQ(Device()->BeginScene(), D3D_OK);
  Clear();
  Device()->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  Device()->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
  Device()->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
  Device()->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
  BindMeshTPC(shaded);
  DrawBoundPrimitives(shaded);
  s_Device->SetDefaultStates();
  Device()->EndScene();
  ASSERT_TRUE(pixels.ReadBackBuffer(Device()));
  EXPECT_GT(pixels.At(2, 237) & 0xFF, 0xE0u);   // left-bottom: opaque white
  EXPECT_LT(pixels.At(2, 2) & 0xFF, 0x20u);     // left-top
  EXPECT_LT(pixels.At(317, 237) & 0xFF, 0x20u); // right-bottom
  EXPECT_LT(pixels.At(317, 2) & 0xFF, 0x20u);   // right-top
}

}  // namespace
}  // namespace render_test
