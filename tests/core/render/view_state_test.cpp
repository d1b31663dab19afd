// The view state's matrices, the screen mapping and its inverse, frame-tree world matrices and
// mesh copies, without a device (D3DX maths under Wine; g_Device stays null).
#include <d3dx9.h>
#include <gtest/gtest.h>

#include <cmath>

#include "core/render/device_globals.h"
#include "core/render/frame.h"
#include "core/render/mesh.h"
#include "core/render/quads.h"
#include "core/render/render_context.h"
#include "core/render/view_state.h"

namespace {

D3DXVECTOR3 Transform(float x, float y, const D3DXMATRIX& m) {
  D3DXVECTOR3 in(x, y, 0.0f), out;
  D3DXVec3TransformCoord(&out, &in, &m);
  return out;
}

DS_TextureInfo Picture(unsigned w, unsigned h) {
  DS_TextureInfo info;
  info.Assign(w, h, DS_ComHolder<IDirect3DTexture9>());
  return info;
}

D3DXMATRIX Identity() {
  D3DXMATRIX m;
  D3DXMatrixIdentity(&m);
  return m;
}

bool MatrixNear(const D3DXMATRIX& a, const D3DXMATRIX& b, float eps = 1e-4f) {
  for (int i = 0; i < 16; ++i)
    if (std::fabs(static_cast<const float*>(a)[i] - static_cast<const float*>(b)[i]) > eps) return false;
  return true;
}

struct ModeCase {
  unsigned w, h;
  int mode;
  float left, top, right, bottom;  // the picture's rectangle in an 800 x 600 area
};

class ViewStateModes : public ::testing::TestWithParam<ModeCase> {};

TEST_P(ViewStateModes, WorldTakesThePictureOntoTheModesRectangleAndProjectionOntoTheViewport) {
  const ModeCase& c = GetParam();
  DS_ViewState view;
  view.Configure(Picture(c.w, c.h), 800, 600, c.mode, false);
  D3DXMATRIX world;
  view.World(world, Identity());
  const D3DXVECTOR3 topLeft = Transform(0, 0, world);
  const D3DXVECTOR3 bottomRight = Transform(static_cast<float>(c.w), static_cast<float>(c.h), world);
  EXPECT_NEAR(topLeft.x, c.left, 1e-2f);
  EXPECT_NEAR(topLeft.y, c.top, 1e-2f);
  EXPECT_NEAR(bottomRight.x, c.right, 1e-2f);
  EXPECT_NEAR(bottomRight.y, c.bottom, 1e-2f);
  // The full transform: area (0, 0) is the viewport's top left, (800, 600) its bottom right.
  D3DXMATRIX wvp;
  view.WorldViewProjection(wvp, Identity());
  const D3DXVECTOR3 clipTopLeft = Transform(0, 0, wvp);
  EXPECT_NEAR(clipTopLeft.x, c.left / 400.0f - 1.0f, 1e-4f);
  EXPECT_NEAR(clipTopLeft.y, 1.0f - c.top / 300.0f, 1e-4f);
  EXPECT_EQ(view.mode, c.mode);
  EXPECT_EQ(view.pictureWidth, c.w);
}

INSTANTIATE_TEST_SUITE_P(WiderAndTaller, ViewStateModes,
                         ::testing::Values(ModeCase{2000, 1000, kPicturePositionFit, 0, 100, 800, 500},
                                           ModeCase{2000, 1000, kPicturePositionFill, -200, 0, 1000, 600},
                                           ModeCase{2000, 1000, kPicturePositionStretch, 0, 0, 800, 600},
                                           ModeCase{2000, 1000, kPicturePositionWholeTarget, 0, 0, 800, 600},
                                           ModeCase{1000, 2000, kPicturePositionFit, 250, 0, 550, 600},
                                           ModeCase{1000, 2000, kPicturePositionFill, 0, -500, 800, 1100},
                                           ModeCase{1000, 2000, kPicturePositionStretch, 0, 0, 800, 600}));

TEST(ViewState, StartsInFitWithIdentityMatricesAndTheFixedView) {
  DS_ViewState view;
  EXPECT_EQ(view.mode, kPicturePositionFit);
  EXPECT_TRUE(MatrixNear(view.cameraMatrix, Identity()));
  EXPECT_TRUE(MatrixNear(view.pictureMatrix, Identity()));
  EXPECT_FLOAT_EQ(view.viewZoom, 1.0f);
  // Eye at z = -1 looking at the origin: x and y pass unchanged, z moves by 1.
  const D3DXVECTOR3 p = Transform(3, 4, view.viewMatrix);
  EXPECT_FLOAT_EQ(p.x, 3.0f);
  EXPECT_FLOAT_EQ(p.y, 4.0f);
  EXPECT_FLOAT_EQ(p.z, 1.0f);
}

TEST(ViewState, ZeroSizedPictureKeepsEveryMatrixFinite) {
  DS_ViewState view;
  for (int mode = 0; mode <= 3; ++mode) {
    view.Configure(Picture(0, 0), 800, 600, mode, false);
    D3DXMATRIX wvp;
    view.WorldViewProjection(wvp, Identity());
    for (int i = 0; i < 16; ++i) EXPECT_TRUE(std::isfinite(static_cast<const float*>(wvp)[i])) << mode;
    EXPECT_TRUE(std::isfinite(view.fitRatio));
    EXPECT_TRUE(std::isfinite(view.widthRatio));
  }
}

TEST(ViewState, CameraZoomsAboutThePanPointAndIsLeftOutOfTheWholeTargetMode) {
  DS_ViewState view;
  view.Configure(Picture(1000, 500), 800, 400, kPicturePositionFit, false);
  view.SetCamera(1.0f, 0.7f, -0.4f);
  EXPECT_TRUE(MatrixNear(view.cameraMatrix, Identity()));

  view.SetCamera(2.0f, 0.0f, 0.0f);
  const D3DXVECTOR3 centre = Transform(500, 250, view.cameraMatrix);
  EXPECT_NEAR(centre.x, 500.0f, 1e-3f);
  EXPECT_NEAR(centre.y, 250.0f, 1e-3f);
  view.SetCamera(2.0f, -1.0f, 1.0f);  // keeps the left and the bottom edge
  EXPECT_NEAR(Transform(0, 500, view.cameraMatrix).x, 0.0f, 1e-3f);
  EXPECT_NEAR(Transform(0, 500, view.cameraMatrix).y, 500.0f, 1e-3f);

  D3DXMATRIX withCamera, withoutCamera;
  view.World(withCamera, Identity());
  EXPECT_NEAR(Transform(1000, 0, withCamera).x, 1600.0f, 1e-2f);  // right edge pushed out twice as far
  view.Configure(Picture(1000, 500), 800, 400, kPicturePositionWholeTarget, false);
  view.World(withoutCamera, Identity());
  EXPECT_NEAR(Transform(1000, 0, withoutCamera).x, 800.0f, 1e-2f);
  // A stored zoom of 0 is no zoom.
  view.SetCamera(0.0f, 0.5f, 0.5f);
  EXPECT_TRUE(MatrixNear(view.cameraMatrix, Identity()));
}

TEST(ViewState, ViewProjectionIgnoresCameraAndPicturePositionExceptInWholeTargetMode) {
  DS_ViewState view;
  view.Configure(Picture(2000, 1000), 800, 600, kPicturePositionFill, false);
  view.SetCamera(1.5f, 0.2f, 0.2f);
  D3DXMATRIX vp, expected;
  view.ViewProjection(vp);
  D3DXMatrixMultiply(&expected, &view.pictureMatrix, &view.viewMatrix);
  D3DXMatrixMultiply(&expected, &expected, &view.projectionMatrix);
  EXPECT_TRUE(MatrixNear(vp, expected));

  view.Configure(Picture(2000, 1000), 800, 600, kPicturePositionWholeTarget, false);
  view.ViewProjection(vp);
  // Stretched over the whole target: the picture's far corner is clip (1, -1).
  const D3DXVECTOR3 corner = Transform(2000, 1000, vp);
  EXPECT_NEAR(corner.x, 1.0f, 1e-4f);
  EXPECT_NEAR(corner.y, -1.0f, 1e-4f);
}

// Back buffer to picture: the mapping of the product globals inverts the view's world, with a
// back buffer twice the layer size.
TEST(ScreenMapping, MapsBackBufferPointsBackToPicturePixels) {
  for (int mode : {kPicturePositionFit, kPicturePositionFill, kPicturePositionStretch}) {
    g_ViewState.Configure(Picture(1000, 2000), 400, 300, mode, false);
    DS_ScreenQuad fitted;
    fitted.FitPicture(Picture(1000, 2000), 400, 300);
    fitted.ScaleToSize(400, 300, 800, 600);
    SetScreenMappingFor(800, 600, fitted, 400, 300, 1000, 2000);
    const DS_ScreenMapping& mapping = CurrentRenderContext().mapping;
    EXPECT_FLOAT_EQ(mapping.scaleX, 2.0f);
    EXPECT_FLOAT_EQ(mapping.scaleY, 2.0f);
    EXPECT_EQ(mapping.pictureWidth, 1000);
    D3DXMATRIX world;
    g_ViewState.World(world, Identity());
    for (const auto& p : {D3DXVECTOR2(100, 1500), D3DXVECTOR2(500, 1000), D3DXVECTOR2(900, 300)}) {
      const D3DXVECTOR3 area = Transform(p.x, p.y, world);
      float result[3];
      MapScreenPointToPicture(area.x * mapping.scaleX, area.y * mapping.scaleY, 0.25f, result);
      EXPECT_NEAR(result[0], p.x, 0.1f) << mode;
      EXPECT_NEAR(result[1], p.y, 0.1f) << mode;
      EXPECT_FLOAT_EQ(result[2], 0.25f);
    }
  }
}

// Each output keeps its own layout, mapping and nested-render sizes; making an output's context
// current brings its own back.
TEST(RenderContexts, MakingAContextCurrentRestoresItsLayoutAndMapping) {
  DS_RenderContext first, second;
  first.MakeCurrent();
  g_ViewState.Configure(Picture(2000, 1000), 800, 600, kPicturePositionFill, false);
  DS_ScreenQuad quad0;
  quad0.FitPicture(Picture(2000, 1000), 800, 600);
  SetScreenMappingFor(800, 600, quad0, 800, 600, 2000, 1000);
  CurrentRenderContext().renderSizeStack.emplace_back(800, 600);
  const D3DXMATRIX projection0 = g_ViewState.projectionMatrix;

  second.MakeCurrent();
  EXPECT_TRUE(second.IsCurrent());
  EXPECT_FALSE(first.IsCurrent());
  EXPECT_EQ(g_ViewState.mode, kPicturePositionFit);  // a fresh view for an output not laid out yet
  EXPECT_EQ(CurrentRenderContext().mapping.pictureWidth, 0);
  EXPECT_TRUE(CurrentRenderContext().renderSizeStack.empty());
  g_ViewState.Configure(Picture(640, 480), 640, 480, kPicturePositionStretch, false);
  DS_ScreenQuad quad1;
  quad1.FitPicture(Picture(640, 480), 640, 480);
  SetScreenMappingFor(640, 480, quad1, 640, 480, 640, 480);

  first.MakeCurrent();
  EXPECT_EQ(g_ViewState.mode, kPicturePositionFill);
  EXPECT_TRUE(MatrixNear(g_ViewState.projectionMatrix, projection0));
  EXPECT_EQ(CurrentRenderContext().mapping.pictureWidth, 2000);
  EXPECT_FLOAT_EQ(CurrentRenderContext().mapping.mappedQuad.corners[1].y, 100.0f);
  EXPECT_EQ(CurrentRenderContext().renderSizeStack.size(), 1u);
  second.MakeCurrent();
  EXPECT_EQ(g_ViewState.mode, kPicturePositionStretch);
  EXPECT_EQ(CurrentRenderContext().mapping.pictureWidth, 640);
}

// A context destroyed while current hands over to the default one, with the default's view.
TEST(RenderContexts, ACurrentContextDestroyedHandsOverToTheDefault) {
  g_DefaultRenderContext.MakeCurrent();
  g_ViewState.Configure(Picture(300, 200), 300, 200, kPicturePositionStretch, false);
  {
    DS_RenderContext output;
    output.MakeCurrent();
    g_ViewState.Configure(Picture(300, 200), 300, 200, kPicturePositionFill, false);
    EXPECT_EQ(&CurrentRenderContext(), &output);
  }
  EXPECT_EQ(&CurrentRenderContext(), &g_DefaultRenderContext);
  EXPECT_EQ(g_ViewState.mode, kPicturePositionStretch);
}

TEST(ScreenQuad, FitsCentredAndScalesToTheBackBuffer) {
  DS_ScreenQuad q;
  EXPECT_FLOAT_EQ(q.corners[0].z, 1.0f);
  EXPECT_FLOAT_EQ(q.corners[0].v, 1.0f);
  EXPECT_FLOAT_EQ(q.corners[3].u, 1.0f);
  q.FitPicture(Picture(50, 100), 800, 600);
  EXPECT_FLOAT_EQ(q.corners[0].x, 250.0f);  // left-bottom
  EXPECT_FLOAT_EQ(q.corners[0].y, 600.0f);
  EXPECT_FLOAT_EQ(q.corners[3].x, 550.0f);  // right-top
  EXPECT_FLOAT_EQ(q.corners[3].y, 0.0f);
  DS_ScreenQuad same = q;
  same.ScaleToSize(800, 600, 800, 600);
  for (int i = 0; i < 4; ++i) {
    EXPECT_FLOAT_EQ(same.corners[i].x, q.corners[i].x);
    EXPECT_FLOAT_EQ(same.corners[i].y, q.corners[i].y);
  }
  DS_ScreenQuad square;
  CenteredSquare(320.7f, 240.9f, square);  // whole pixels: 320 x 240, side 160
  EXPECT_FLOAT_EQ(square.corners[1].x, 80.0f);
  EXPECT_FLOAT_EQ(square.corners[1].y, 40.0f);
  EXPECT_FLOAT_EQ(square.corners[2].x, 240.0f);
  EXPECT_FLOAT_EQ(square.corners[2].y, 200.0f);
}

// Frames ----------------------------------------------------------------------------------------

class CountingController : public DS_AnimationBase {
 public:
  explicit CountingController(int* destroyed, D3DXMATRIX result) : m_Destroyed(destroyed), m_Result(result) {}
  ~CountingController() override { ++*m_Destroyed; }
  void Animate(DS_Frame& frame) override {
    ++animated;
    frame.world = m_Result;
  }
  int animated = 0;

 private:
  int* m_Destroyed;
  D3DXMATRIX m_Result;
};

TEST(Frame, WorldMatricesComposeInRowVectorOrderDownTheTree) {
  DS_Frame root, child;
  D3DXMatrixTranslation(&root.local, 10, 20, 0);
  D3DXMatrixScaling(&child.local, 2, 3, 1);
  root.children.push_back(&child);
  root.UpdateWorld(nullptr);
  EXPECT_TRUE(MatrixNear(root.world, root.local));
  // The child's world is its local matrix first, then the parent's: (1, 1) scales, then moves.
  const D3DXVECTOR3 p = Transform(1, 1, child.world);
  EXPECT_FLOAT_EQ(p.x, 12.0f);
  EXPECT_FLOAT_EQ(p.y, 23.0f);
  // A parent matrix given to the root applies after the root's own.
  D3DXMATRIX parent;
  D3DXMatrixScaling(&parent, 10, 10, 1);
  root.UpdateWorld(&parent);
  const D3DXVECTOR3 q = Transform(1, 1, child.world);
  EXPECT_FLOAT_EQ(q.x, 120.0f);
  EXPECT_FLOAT_EQ(q.y, 230.0f);
}

TEST(Frame, ControllerWritesTheWorldInsteadOfTheLocalMatrix) {
  int destroyed = 0;
  D3DXMATRIX animated, parent;
  D3DXMatrixTranslation(&animated, 5, 0, 0);
  D3DXMatrixTranslation(&parent, 0, 7, 0);
  {
    DS_Frame frame;
    D3DXMatrixScaling(&frame.local, 9, 9, 9);
    auto controller = std::make_unique<CountingController>(&destroyed, animated);
    CountingController* c = controller.get();
    frame.SetController(std::move(controller));
    frame.UpdateWorld(&parent);
    EXPECT_EQ(c->animated, 1);
    const D3DXVECTOR3 p = Transform(0, 0, frame.world);
    EXPECT_FLOAT_EQ(p.x, 5.0f);
    EXPECT_FLOAT_EQ(p.y, 7.0f);
  }
  EXPECT_EQ(destroyed, 1);
}

// A copy of a frame shares its controller; the controller is deleted once, when the last of
// them goes, never twice.
TEST(Frame, CopiesShareTheControllerAndDeleteItOnce) {
  int destroyed = 0;
  {
    auto* original = new DS_Frame;
    original->SetController(std::make_unique<CountingController>(&destroyed, Identity()));
    DS_Frame copy(*original);
    DS_Frame assigned;
    assigned = *original;
    EXPECT_EQ(copy.Controller(), original->Controller());
    EXPECT_EQ(assigned.Controller(), original->Controller());
    delete original;
    EXPECT_EQ(destroyed, 0);
  }
  EXPECT_EQ(destroyed, 1);
}

TEST(Frame, DeleteWithChildrenDeletesChildrenAndSkipsNulls) {
  int destroyed = 0;
  auto* root = new DS_Frame;
  root->SetController(std::make_unique<CountingController>(&destroyed, Identity()));
  for (int i = 0; i < 2; ++i) {
    auto* child = new DS_Frame;
    child->SetController(std::make_unique<CountingController>(&destroyed, Identity()));
    root->children.push_back(child);
  }
  root->children.push_back(nullptr);
  root->DeleteWithChildren();
  EXPECT_EQ(destroyed, 3);
}

// Meshes without buffers ------------------------------------------------------------------------

TEST(Mesh, CopiesAndSelfAssignmentKeepThePlainFields) {
  DS_SpriteArrayT<DX_V::PNT> part;
  part.vertexCount = 12;
  part.primitiveType = D3DPT_TRIANGLELIST;
  part.primitiveCount = 4;
  part.triangleCount = 4;
  part.flags = 1;
  DS_SpriteArrayT<DX_V::PNT> copy(part);
  EXPECT_FALSE(copy.vertexBuffer);
  EXPECT_FALSE(copy.indexBuffer);
  EXPECT_FALSE(copy.texture);
  EXPECT_EQ(copy.vertexCount, 12);
  EXPECT_EQ(copy.flags, 1u);
  auto& self = part;
  part = self;
  EXPECT_EQ(part.primitiveType, D3DPT_TRIANGLELIST);
  EXPECT_EQ(part.triangleCount, 4);
  const DS_SimpleMesh<DX_V::PT> fresh;
  EXPECT_EQ(fresh.primitiveType, D3DPT_TRIANGLESTRIP);
  EXPECT_EQ(fresh.primitiveCount, 0);
  EXPECT_EQ(fresh.frontFace, 1);
}

TEST(DeviceUtilities, ReleaseAndClearOfANullPointerReturnsZero) {
  IUnknown* none = nullptr;
  EXPECT_EQ(ReleaseAndClear(&none), 0u);
  EXPECT_EQ(none, nullptr);
  // Without a device nothing is created, and the count is still stored.
  DS_VertexBufferRecord record;
  EXPECT_FALSE(CreateVertexBufferPT(4, record, D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED));
  EXPECT_EQ(record.vertexCount, 4);
  EXPECT_FALSE(record.vertexBuffer);
  EXPECT_FALSE(CopyTexture(DS_ComHolder<IDirect3DTexture9>(), 128, 128, D3DFMT_UNKNOWN));
}

}  // namespace
