// Frame trees on the device: the meshes of a frame's children draw at their world transforms.
#include <d3dx9.h>
#include <gtest/gtest.h>

#include "core/render/frame.h"
#include "core/render/mesh_ops.h"
#include "core/render/quads.h"
#include "core/render/view_state.h"
#include "tests/core/render/render_device_fixture.h"

namespace render_test {
namespace {

// A root frame moved by (100, 50) with two unit quads as children, scaled and moved; the
// children are drawn at their world transforms (picture space equal to the back buffer).
TEST_F(RenderDevice, FrameTreeDrawsItsMeshesAtTheirWorldTransforms) {
  DS_TextureInfo screenSized;
  screenSized.Assign(kWidth, kHeight, DS_ComHolder<IDirect3DTexture9>());
  g_ViewState.Configure(screenSized, kWidth, kHeight, kPicturePositionFit, false);
  g_ViewState.SetCamera(1.0f, 0.0f, 0.0f);

  static const float kUnitQuad[20] = {0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 1, 0, 1, 1, 1, 0, 0, 1, 0};
  DS_Frame root;
  DS_TexturedQuad red, green;
  FillQuadPT(red, kUnitQuad);
  FillQuadPT(green, kUnitQuad);
  red.texture = MakeSolidTexture(Device(), 0xFF000000u | kRed);
  green.texture = MakeSolidTexture(Device(), 0xFF000000u | kGreen);
  D3DXMatrixTranslation(&root.local, 100, 50, 0);
  D3DXMatrixScaling(&red.local, 40, 30, 1);  // 100..140 x 50..80
  D3DXMATRIX s, t;
  D3DXMatrixScaling(&s, 20, 20, 1);
  D3DXMatrixTranslation(&t, 150, 100, 0);
  green.local = s * t;  // 250..270 x 150..170
  root.children = {&red, &green};
  root.UpdateWorld(nullptr);

  ASSERT_EQ(Device()->BeginScene(), D3D_OK);
  Clear();
  g_ViewState.ApplyTransforms();
  for (DS_Frame* child : root.children) {
    g_ViewState.SetWorld(child->world);
    DrawQuadPT(*static_cast<DS_TexturedQuad*>(child));
  }
  Device()->EndScene();
  DS_PixelReadback pixels;
  ASSERT_TRUE(pixels.ReadBackBuffer(Device()));
  const Probe probes[] = {{120, 65, kRed},   {101, 51, kRed},    {138, 78, kRed},    {97, 65, kBlack},
                          {143, 65, kBlack}, {120, 47, kBlack},  {120, 83, kBlack},  {260, 160, kGreen},
                          {247, 160, kBlack}, {273, 160, kBlack}, {260, 147, kBlack}, {260, 173, kBlack}};
  for (const Probe& p : probes)
    EXPECT_EQ(pixels.At(p.x, p.y), p.colour) << "(" << p.x << ", " << p.y << ")";
}

}  // namespace
}  // namespace render_test
