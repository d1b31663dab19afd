// The rendering base on a real device (windowed HAL under Wine, llvmpipe): pictures laid out in
// Fit, Fill and Stretch land where the layout says, borders fill the bars, frame trees draw at
// their world transforms, sprite batches beyond one chunk draw their last sprite, the
// render-target pair alternates and restores the device's surfaces, and after releasing the
// default-pool objects the device resets while managed buffers survive.
#include <d3dx9.h>
#include <gtest/gtest.h>

#include "core/render/device_globals.h"
#include "core/render/device_utils.h"
#include "core/render/image_set_frames.h"
#include "core/render/mesh_ops.h"
#include "core/render/output_views.h"
#include "core/render/quads.h"
#include "core/render/render_target_pair.h"
#include "core/render/screen_sprite_batch.h"
#include "core/render/view_state.h"
#include "tools/device/window_device.h"

namespace {

constexpr int kWidth = 320, kHeight = 240;
constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kYellow = 0xFFFF00;
constexpr std::uint32_t kMagenta = 0xFF00FF, kBlack = 0x000000, kWhite = 0xFFFFFF;
constexpr std::uint32_t kBands[4] = {kRed, kGreen, kBlue, kYellow};

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
    SelectOutputView(0);
    s_Device->SetDefaultStates();
  }
  IDirect3DDevice9* Device() const { return s_Device->Device(); }
  void Clear(std::uint32_t colour = 0xFF000000) const {
    Device()->Clear(0, nullptr, D3DCLEAR_TARGET, colour, 1.0f, 0);
  }

  static DS_WindowDevice* s_Device;
};
DS_WindowDevice* RenderDevice::s_Device = nullptr;

// A picture of four bands in red, green, blue, yellow: vertical bands (left to right) when it is
// wide, horizontal (top to bottom) when it is tall.
DS_TextureInfo BandPicture(IDirect3DDevice9* device, int w, int h) {
  const bool wide = w >= h;
  DS_TextureInfo info;
  info.Assign(static_cast<unsigned>(w), static_cast<unsigned>(h), MakeTexture(device, w, h, [=](int x, int y) {
                const int band = wide ? x * 4 / w : y * 4 / h;
                return 0xFF000000u | kBands[band];
              }));
  return info;
}

void DrawBackground(const DS_PictureQuad& quad) {
  g_ViewState.ApplyTransforms();
  g_ViewState.SetWorld(quad.world);
  DrawQuadPT(quad);
}

struct Probe {
  int x, y;
  std::uint32_t colour;
};

struct LayoutCase {
  const char* name;
  int w, h, mode;
  std::vector<Probe> probes;
};

class PictureLayoutOnDevice : public RenderDevice, public ::testing::WithParamInterface<LayoutCase> {};

// The picture is drawn as the layer draws its background, with the borders after it (magenta),
// then rows and columns are probed; every probe is also mapped back to a picture pixel whose
// band must be the colour seen.
TEST_P(PictureLayoutOnDevice, PictureLandsWhereTheLayoutSays) {
  const LayoutCase& c = GetParam();
  const DS_TextureInfo picture = BandPicture(Device(), c.w, c.h);
  DS_PictureQuad quad;
  SetQuadTexCoordsPT(quad);
  quad.LoadPicture(picture);
  EXPECT_EQ(quad.picture.width, static_cast<unsigned>(c.w));
  g_ViewState.SetBorderTexture(MakeSolidTexture(Device(), 0xFF000000u | kMagenta));
  g_ViewState.Configure(picture, kWidth, kHeight, c.mode, false);
  DS_ScreenQuad fitted;
  fitted.FitPicture(picture, kWidth, kHeight);
  fitted.ScaleToBackBuffer(kWidth, kHeight);
  SetScreenMapping(fitted, kWidth, kHeight, c.w, c.h);

  ASSERT_EQ(Device()->BeginScene(), D3D_OK);
  Clear();
  DrawBackground(quad);
  g_ViewState.DrawBorders();
  Device()->EndScene();
  DS_PixelReadback pixels;
  ASSERT_TRUE(pixels.ReadBackBuffer(Device()));

  for (const Probe& p : c.probes) {
    const std::uint32_t seen = pixels.At(p.x, p.y);
    EXPECT_TRUE(SameColour(seen, p.colour)) << c.name << " at (" << p.x << ", " << p.y << "): " << std::hex << seen
                                            << " expected " << p.colour;
    if (p.colour == kMagenta) continue;
    float at[3];
    MapScreenPointToPicture(p.x + 0.5f, p.y + 0.5f, 0.0f, at);
    const bool wide = c.w >= c.h;
    const int band = static_cast<int>(wide ? at[0] * 4 / c.w : at[1] * 4 / c.h);
    ASSERT_GE(band, 0) << c.name;
    ASSERT_LT(band, 4) << c.name;
    EXPECT_EQ(kBands[band], p.colour) << c.name << " mapped (" << p.x << ", " << p.y << ") to " << at[0] << ", "
                                      << at[1];
  }
}

// 200 x 100 in 320 x 240: fitted 320 x 160 at y 40. 100 x 200: fitted 120 x 240 at x 100.
INSTANTIATE_TEST_SUITE_P(
    Modes, PictureLayoutOnDevice,
    ::testing::Values(
        LayoutCase{"wide_fit", 200, 100, kPicturePositionFit,
                   {{40, 120, kRed}, {120, 120, kGreen}, {200, 120, kBlue}, {280, 120, kYellow},
                    {120, 30, kMagenta}, {120, 46, kGreen}, {120, 194, kGreen}, {120, 210, kMagenta},
                    {5, 5, kMagenta}, {315, 235, kMagenta}}},
        LayoutCase{"wide_fill", 200, 100, kPicturePositionFill,
                   {{10, 120, kRed}, {100, 120, kGreen}, {220, 120, kBlue}, {310, 120, kYellow},
                    {100, 2, kGreen}, {100, 237, kGreen}, {34, 2, kRed}, {46, 237, kGreen}}},
        LayoutCase{"wide_stretch", 200, 100, kPicturePositionStretch,
                   {{40, 120, kRed}, {120, 120, kGreen}, {200, 120, kBlue}, {280, 120, kYellow},
                    {120, 2, kGreen}, {120, 237, kGreen}, {2, 2, kRed}, {317, 237, kYellow}}},
        LayoutCase{"tall_fit", 100, 200, kPicturePositionFit,
                   {{160, 30, kRed}, {160, 90, kGreen}, {160, 150, kBlue}, {160, 210, kYellow},
                    {95, 90, kMagenta}, {105, 90, kGreen}, {215, 90, kGreen}, {225, 90, kMagenta}}},
        LayoutCase{"tall_fill", 100, 200, kPicturePositionFill,
                   {{160, 60, kGreen}, {160, 180, kBlue}, {3, 60, kGreen}, {317, 60, kGreen},
                    {160, 2, kGreen}, {160, 237, kBlue}}},
        LayoutCase{"tall_stretch", 100, 200, kPicturePositionStretch,
                   {{160, 30, kRed}, {160, 90, kGreen}, {160, 150, kBlue}, {160, 210, kYellow},
                    {3, 90, kGreen}, {317, 90, kGreen}}}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

// A 0 x 0 picture (one that failed to decode) draws nothing and leaves the matrices usable.
TEST_F(RenderDevice, ZeroSizedPictureDrawsNothingWithoutBreakingTheLayout) {
  DS_TextureInfo empty;
  DS_PictureQuad quad;
  SetQuadTexCoordsPT(quad);
  quad.LoadPicture(empty);
  g_ViewState.Configure(empty, kWidth, kHeight, kPicturePositionFill, false);
  ASSERT_EQ(Device()->BeginScene(), D3D_OK);
  Clear();
  DrawBackground(quad);
  Device()->EndScene();
  DS_PixelReadback pixels;
  ASSERT_TRUE(pixels.ReadBackBuffer(Device()));
  EXPECT_EQ(pixels.At(160, 120), kBlack);
  D3DXMATRIX wvp, identity;
  D3DXMatrixIdentity(&identity);
  g_ViewState.WorldViewProjection(wvp, identity);
  for (int i = 0; i < 16; ++i) EXPECT_TRUE(std::isfinite(static_cast<const float*>(wvp)[i]));
}

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

// Sprite batches ---------------------------------------------------------------------------------

void PlaceSprite(DS_ScreenSpriteBatch& batch, int i, float x, float y, DWORD colour) {
  batch.SetSpriteCorners(i, D3DXVECTOR3(x, y, 0), D3DXVECTOR3(8, 0, 0), D3DXVECTOR3(0, 8, 0));
  batch.SetSpriteColour(i, colour);
}

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

// Device utilities --------------------------------------------------------------------------------

TEST_F(RenderDevice, BufferMakersReplaceAndShareBuffers) {
  DS_SimpleMesh<DX_V::PT> mesh;
  ASSERT_TRUE(CreateQuadBufferPT(mesh));
  IDirect3DVertexBuffer9* first = mesh.vertexBuffer.Get();
  first->AddRef();
  ASSERT_TRUE(CreateQuadBufferPT(mesh));
  EXPECT_NE(mesh.vertexBuffer.Get(), first);
  EXPECT_EQ(first->Release(), 0u);  // the maker released the old buffer
  EXPECT_EQ(mesh.vertexCount, 4);
  EXPECT_EQ(mesh.primitiveCount, 2);
  D3DVERTEXBUFFER_DESC vd;
  mesh.vertexBuffer->GetDesc(&vd);
  EXPECT_EQ(vd.Size, 80u);
  EXPECT_EQ(vd.FVF, 0x102u);
  EXPECT_EQ(vd.Pool, D3DPOOL_MANAGED);
  EXPECT_EQ(vd.Usage & D3DUSAGE_WRITEONLY, static_cast<DWORD>(D3DUSAGE_WRITEONLY));

  // Copies share by AddRef; self-assignment keeps the buffer.
  {
    DS_SimpleMesh<DX_V::PT> copy(mesh);
    EXPECT_EQ(RefCount(mesh.vertexBuffer.Get()), 2u);
    copy = copy;
    EXPECT_EQ(RefCount(mesh.vertexBuffer.Get()), 2u);
  }
  EXPECT_EQ(RefCount(mesh.vertexBuffer.Get()), 1u);

  // A count of 0 makes no buffer, and the count is stored.
  EXPECT_FALSE(CreateVertexBufferTPCT(0, mesh, D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED));
  EXPECT_FALSE(mesh.vertexBuffer);
  EXPECT_EQ(mesh.vertexCount, 0);
  EXPECT_FALSE(CanDraw(mesh));

  DS_IndexBufferRecord grid;
  CreateGridIndices8x8(grid);
  ASSERT_TRUE(grid.indexBuffer);
  EXPECT_EQ(grid.triangleCount, 128);
  EXPECT_EQ(grid.indexLockPointer, nullptr);
  D3DINDEXBUFFER_DESC id;
  grid.indexBuffer->GetDesc(&id);
  EXPECT_EQ(id.Size, 2048u);
  EXPECT_EQ(id.Format, D3DFMT_INDEX16);

  D3DSURFACE_DESC bb;
  GetBackBufferDesc(bb);
  EXPECT_EQ(bb.Width, static_cast<UINT>(kWidth));
  EXPECT_EQ(bb.Height, static_cast<UINT>(kHeight));
}

TEST_F(RenderDevice, CopyTextureFillsLevelZeroOfAManagedCopy) {
  const DS_ComHolder<IDirect3DTexture9> source = MakeSolidTexture(Device(), 0xFF00FF00, 16);
  const DS_ComHolder<IDirect3DTexture9> copy = CopyTexture(source, 128, 128, D3DFMT_A8R8G8B8);
  ASSERT_TRUE(copy);
  D3DSURFACE_DESC desc;
  copy->GetLevelDesc(0, &desc);
  EXPECT_EQ(desc.Width, 128u);
  EXPECT_EQ(desc.Pool, D3DPOOL_MANAGED);
  EXPECT_EQ(copy->GetLevelCount(), 8u);
  D3DLOCKED_RECT r;
  ASSERT_EQ(copy->LockRect(0, &r, nullptr, D3DLOCK_READONLY), D3D_OK);
  EXPECT_EQ(static_cast<const std::uint32_t*>(r.pBits)[64 * r.Pitch / 4 + 64] & 0xFFFFFF, kGreen);
  copy->UnlockRect(0);
  EXPECT_FALSE(CopyTexture(DS_ComHolder<IDirect3DTexture9>(), 128, 128, D3DFMT_A8R8G8B8));

  DS_PictureQuad quad;
  CreateSquareTextureCopy(1, quad, source);
  ASSERT_TRUE(quad.picture.texture);
  quad.picture.texture->GetLevelDesc(0, &desc);
  EXPECT_EQ(desc.Width, 256u);
}

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

// Render-target pair -------------------------------------------------------------------------------

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
  pair.InvalidateDeviceObjects();
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

// Two outputs with a device each: every output's view keeps the border quads made on its own
// device, and releasing one output's view leaves no object of its device behind.
TEST_F(RenderDevice, EachOutputsViewKeepsTheObjectsOfItsOwnDevice) {
  DS_WindowDevice second;
  ASSERT_TRUE(second.Open(200, 150, L"second output"));
  const DS_TextureInfo picture = BandPicture(Device(), 200, 100);

  s_Device->MakeCurrent();
  SelectOutputView(0);
  g_ViewState.SetBorderTexture(MakeSolidTexture(Device(), 0xFF000000u | kMagenta));
  g_ViewState.Configure(picture, kWidth, kHeight, kPicturePositionFit, false);

  second.MakeCurrent();
  SelectOutputView(1);
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
  SelectOutputView(0);
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
  SelectOutputView(1);
  EXPECT_EQ(bordersDevice(), second.Device());
  ASSERT_EQ(second.Device()->BeginScene(), D3D_OK);
  second.Device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
  g_ViewState.DrawBorders();
  second.Device()->EndScene();
  ASSERT_TRUE(pixels.ReadBackBuffer(second.Device()));
  EXPECT_EQ(pixels.At(20, 75), kWhite);   // bars left and right of the tall picture
  EXPECT_EQ(pixels.At(100, 75), kBlack);

  ReleaseOutputView(1);
  s_Device->MakeCurrent();
  SelectOutputView(0);
  EXPECT_EQ(RefCount(second.Device()), 1u);  // nothing of the second device is held any more
}

}  // namespace
