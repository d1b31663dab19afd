// The layer on a real device (windowed HAL under Wine): its record in every version, the picture
// it draws (its own, the default from common_res.dll, or none), the border in the bars of Fit,
// the camera's zoom and wander on screen, the scene drawn into the target pair and handed to the
// objects that ask for it, nested renders, and device loss and reset.
#include <d3dx9.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "core/data/class_registry.h"
#include "core/data/ds_stream.h"
#include "core/layer/ds_2d_light.h"
#include "core/layer/ds_abobj.h"
#include "core/layer/layer_registry.h"
#include "core/render/device_globals.h"
#include "core/render/mesh_ops.h"
#include "core/render/render_context.h"
#include "core/render/view_state.h"
#include "core/resources/doc_res_manager.h"
#include "tests/support/layer_fixture.h"
#include "tests/support/random_sequence.h"
#include "tests/support/stored_picture.h"
#include "tools/device/window_device.h"
#include "tests/support/test_bytes.h"

namespace {

constexpr int kWidth = 320, kHeight = 240;
constexpr std::uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kGreen = 0x00FF00, kGrey = 0x808080;

DS_ResourceKey Key(const char16_t* name, int64_t stamp) { return DS_ResourceKey{name, stamp}; }

bool Finite(const D3DXMATRIX& m) {
  for (int i = 0; i < 16; ++i)
    if (!std::isfinite(m[i])) return false;
  return true;
}

class LayerDevice : public LayerFixture {
 protected:
  void SetUp() override {
    LayerFixture::SetUp();
    // A 2:1 picture, red on the left half and blue on the right, and a grey border image.
    AddPicture(Key(u"halves.png", 1), MakeTexture(Device(), 64, 32, [](int x, int) {
                 return 0xFF000000u | (x < 32 ? kRed : kBlue);
               }), 64, 32);
    AddPicture(Key(u"border.png", 2), MakeSolidTexture(Device(), 0xFF000000u | kGrey), 8, 8);
  }
  void AddPicture(const DS_ResourceKey& key, const DS_ComHolder<IDirect3DTexture9>& texture, unsigned w, unsigned h) {
    StorePicture(*m_Manager, key, texture, w, h);
  }

  // A layer on the halves picture with the grey border, set up as a slide does.
  std::unique_ptr<DS_2D_Light> MakeLayer(const char16_t* picture = u"halves.png", int64_t stamp = 1) {
    auto layer = std::make_unique<DS_2D_Light>();
    if (picture) layer->SetPictureLink(Key(picture, stamp));
    layer->Camera().borderImage.SetKey(Key(u"border.png", 2));
    layer->CreateDeviceObjects();
    layer->OnDeviceReset();
    layer->Layout(kWidth, kHeight);
    return layer;
  }

  void DrawFrame(DS_2D_Light& layer, float time, std::vector<DS_ABObj*> objects = {}) {
    ASSERT_EQ(Device()->BeginScene(), D3D_OK);
    layer.Update(time);
    layer.RenderScene(objects.data(), objects.size());
    layer.PostRender();
    Device()->EndScene();
  }

  DS_PixelReadback ReadBack() {
    DS_PixelReadback pixels;
    EXPECT_TRUE(pixels.ReadBackBuffer(Device()));
    return pixels;
  }

};

// Records ---------------------------------------------------------------------------------------------

struct RecordCase {
  const char* name;
  uint32_t version;
  bool withPicture, withCamera;
  uint32_t cameraVersion;
};

TEST(LayerRecord, EachVersionReadsItsFieldsAndKeepsTheDefaultsOfTheRest) {
  const RecordCase cases[] = {
      {"v1 header only", 1, false, false, 0},
      {"v2 picture", 2, true, false, 0},
      {"v3 picture and camera", 3, true, true, 2},
      {"v3 with a v1 camera", 3, true, true, 1},
  };
  for (const RecordCase& c : cases) {
    SCOPED_TRACE(c.name);
    TestBytes doc;
    if (c.withPicture) doc.Key(u"sunset.jpg", 77);
    if (c.withCamera) {
      doc.Str(u"DSM_Camera").U32(c.cameraVersion).I32(1).U32(150).U32(100);
      if (c.cameraVersion > 1) doc.Key(u"frame.png", 9);
    }
    doc.U32(0xC0FFEE);  // what follows the record stays unread
    ResourceBuffer buffer(doc.bytes.data(), doc.bytes.size());
    DS_DocumentReader in(&buffer);
    std::unique_ptr<DS_2D_Light> layer = DS_2D_Light::CreateFromStream(in, c.version);
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(in.Remaining(), 4u);
    const DS_ResourceKey& picture = layer->PictureLink().Key();
    EXPECT_EQ(picture.name, c.withPicture ? u"sunset.jpg" : u"common_res.dll");
    EXPECT_EQ(picture.stamp, c.withPicture ? 77 : 5);
    DSM_Camera& camera = layer->Camera();
    EXPECT_EQ(camera.mode.Get(), c.withCamera ? 1 : 0);
    EXPECT_FLOAT_EQ(camera.ZoomFactor(), c.withCamera ? 1.5f : 1.2f);
    EXPECT_FLOAT_EQ(camera.Speed(), c.withCamera ? 2.0f : 1.0f);
    const bool storedBorder = c.withCamera && c.cameraVersion > 1;
    EXPECT_EQ(camera.borderImage.Key().name, storedBorder ? u"frame.png" : u"common_res.dll");
    EXPECT_EQ(camera.borderImage.Key().stamp, storedBorder ? 9 : 6);
    EXPECT_EQ(camera.panKind.Get(), 0);  // not stored
  }
}

TEST(LayerRecord, ACutShortRecordStopsTheLoad) {
  TestBytes doc;
  doc.Key(u"sunset.jpg", 77).Str(u"DSM_Camera").U32(2).I32(1).U32(150).U32(50).Key(u"frame.png", 9);
  for (size_t size = 0; size < doc.bytes.size(); ++size) {
    ResourceBuffer buffer(doc.bytes.data(), size);
    DS_DocumentReader in(&buffer);
    EXPECT_THROW(DS_2D_Light::CreateFromStream(in, 3), DS_DocumentError) << size << " bytes";
  }
}

TEST(LayerRecord, TheLayerRegistryReadsTheBaseLayerByItsClassName) {
  TestBytes doc;
  doc.Str(u"DS_2D_Light").U32(2).Key(u"lake.png", 3);
  doc.Str(u"DS_2D_LightX").U32(3).Key(u"never.png", 1);
  ResourceBuffer buffer(doc.bytes.data(), doc.bytes.size());
  DS_DocumentReader in(&buffer);
  std::unique_ptr<DS_2D_Light> layer = ReadLightObject(in);
  ASSERT_NE(layer, nullptr);
  EXPECT_EQ(layer->PictureLink().Key().name, u"lake.png");
  EXPECT_EQ(layer->Camera().mode.Get(), 0);
  // A name the registry does not hold gives no layer and consumes only the header.
  const size_t before = in.Remaining();
  EXPECT_EQ(ReadLightObject(in), nullptr);
  EXPECT_EQ(before - in.Remaining(), 4u + 2u * 12u + 4u);
}

TEST(LayerRecord, KindsReadTheBasePartUnderItsOwnHeaderAndWriteItBack) {
  TestBytes doc;
  doc.Str(u"DS_2D_Light").U32(3).Key(u"lake.png", 3);
  doc.Str(u"DSM_Camera").U32(2).I32(1).U32(150).U32(100).Key(u"frame.png", 9);
  ResourceBuffer buffer(doc.bytes.data(), doc.bytes.size());
  DS_DocumentReader in(&buffer);
  DS_2D_Light layer;
  DS_2D_Light::ReadBase(in, layer);
  EXPECT_EQ(layer.PictureLink().Key().name, u"lake.png");
  EXPECT_EQ(in.Remaining(), 0u);
  // The writer states the same layout.
  DS_IOF_ByteWriter out;
  layer.Write(out);
  EXPECT_EQ(out.Bytes(), doc.bytes);
}

TEST(LayerRandomPan, EnablingZeroesTheWanderAndTellsWhetherItWasOn) {
  DS_2D_Light layer;
  EXPECT_FALSE(layer.IsRandomPan());
  layer.Camera().wander.end = 4.0f;
  EXPECT_FALSE(layer.EnableRandomPan());
  EXPECT_TRUE(layer.IsRandomPan());
  layer.Camera().wander.xTo = 0.5f;
  EXPECT_TRUE(layer.EnableRandomPan());
  EXPECT_FLOAT_EQ(layer.Camera().wander.xTo, 0.0f);
  EXPECT_FLOAT_EQ(layer.Camera().wander.end, 0.0f);
}

// Pictures and borders ------------------------------------------------------------------------------

TEST_F(LayerDevice, DrawsItsPictureFittedWithTheBorderImageInTheBars) {
  auto layer = MakeLayer();
  EXPECT_EQ(layer->PictureWidth(), 64u);
  EXPECT_EQ(layer->PictureHeight(), 32u);
  EXPECT_EQ(CurrentRenderContext().mapping.pictureWidth, 64);
  DrawFrame(*layer, 0.0f);
  const DS_PixelReadback pixels = ReadBack();
  // 2:1 in 4:3: the picture spans rows 40..199; the bars above and below show the border.
  EXPECT_TRUE(SameColour(pixels.At(80, 120), kRed));
  EXPECT_TRUE(SameColour(pixels.At(240, 120), kBlue));
  EXPECT_TRUE(SameColour(pixels.At(160, 10), kGrey));
  EXPECT_TRUE(SameColour(pixels.At(160, 230), kGrey));
}

TEST_F(LayerDevice, WithoutAPictureLinkItDrawsTheDefaultPicture) {
  auto layer = MakeLayer(nullptr);
  // "common_res.dll" 5: the meadow of 1280 x 720, dark sky at the top and green below.
  ASSERT_EQ(layer->PictureWidth(), 1280u);
  EXPECT_EQ(layer->PictureHeight(), 720u);
  DrawFrame(*layer, 0.0f);
  const DS_PixelReadback pixels = ReadBack();
  const std::uint32_t sky = pixels.At(160, 40), ground = pixels.At(160, 190);
  EXPECT_NE(sky, ground);
  EXPECT_GT(ground & 0x00FF00u, 0x004000u) << std::hex << ground;
  EXPECT_TRUE(SameColour(pixels.At(160, 10), kGrey));  // the bar (the picture is 16:9)
}

TEST_F(LayerDevice, APictureThatResolvesToNothingLeavesEveryMatrixFinite) {
  auto layer = MakeLayer(u"not-in-the-document.png", 4);
  EXPECT_EQ(layer->PictureWidth(), 0u);
  EXPECT_EQ(CurrentRenderContext().mapping.pictureWidth, 0);
  DrawFrame(*layer, 0.0f);
  EXPECT_TRUE(Finite(g_ViewState.pictureMatrix));
  EXPECT_TRUE(Finite(g_ViewState.picturePositionMatrix));
  EXPECT_TRUE(Finite(g_ViewState.cameraMatrix));
  // A later picture change draws normally again.
  layer->SetPictureLink(Key(u"halves.png", 1));
  DrawFrame(*layer, 0.1f);
  EXPECT_TRUE(SameColour(ReadBack().At(80, 120), kRed));
}

// Camera --------------------------------------------------------------------------------------------

TEST_F(LayerDevice, TheWanderingCameraZoomsAndGlidesToItsTargetAndHolds) {
  auto layer = MakeLayer();
  layer->SetPicturePosition(kPicturePositionStretch);
  DSM_Camera& camera = layer->Camera();
  camera.mode.Set(1);
  camera.zoom.Set(200);  // twice the size: the pan point decides which half fills the screen
  camera.random = RandomSequence::Next;
  // A glide to (1, 0) over 5 units (the right edge kept in place), then a hold there.
  RandomSequence::Set({1, 32767, 16384, 0, 2});
  layer->EnableRandomPan();

  DrawFrame(*layer, 0.0f);
  DS_PixelReadback start = ReadBack();
  EXPECT_TRUE(SameColour(start.At(10, 120), kRed));  // centred: left quarter of the picture ...
  EXPECT_TRUE(SameColour(start.At(310, 120), kBlue));  // ... to the right quarter

  float t = 0.0f;
  for (; camera.Clock() < 5.2f; t += 0.1f) DrawFrame(*layer, t);
  EXPECT_NEAR(camera.wander.end - camera.wander.start, 0.5f, 1e-5f);  // now holding
  DS_PixelReadback held = ReadBack();
  EXPECT_TRUE(SameColour(held.At(10, 120), kBlue));  // only the right half is on screen
  EXPECT_TRUE(SameColour(held.At(310, 120), kBlue));

  // Frame times that jump move the clock by at most 0.2 units each.
  const float before = camera.Clock();
  DrawFrame(*layer, t + 30.0f);
  EXPECT_NEAR(camera.Clock() - before, 0.2f, 1e-4f);
  // A time that goes back advances nothing, and the clock runs on from there.
  DrawFrame(*layer, t);
  EXPECT_NEAR(camera.Clock() - before, 0.2f, 1e-4f);
  DrawFrame(*layer, t + 0.1f);
  EXPECT_NEAR(camera.Clock() - before, 0.3f, 1e-4f);
}

TEST_F(LayerDevice, ACameraThatIsOffOrDoesNotWanderShowsThePictureUnzoomed) {
  auto layer = MakeLayer();
  layer->SetPicturePosition(kPicturePositionStretch);
  layer->Camera().mode.Set(1);
  layer->Camera().zoom.Set(200);  // on, but the pan kind is not the wander
  DrawFrame(*layer, 1.0f);
  const DS_PixelReadback pixels = ReadBack();
  EXPECT_TRUE(SameColour(pixels.At(10, 120), kRed));
  EXPECT_TRUE(SameColour(pixels.At(150, 120), kRed));
  EXPECT_TRUE(SameColour(pixels.At(170, 120), kBlue));
}

TEST_F(LayerDevice, AStoredZoomOfZeroShowsThePictureUnzoomed) {
  auto layer = MakeLayer();
  layer->SetPicturePosition(kPicturePositionStretch);
  layer->Camera().mode.Set(1);
  layer->Camera().zoom.Set(0);
  layer->Camera().random = RandomSequence::Next;
  RandomSequence::Set({1, 32767, 32767, 0});
  layer->EnableRandomPan();
  DrawFrame(*layer, 0.0f);
  DrawFrame(*layer, 1.0f);
  EXPECT_TRUE(Finite(g_ViewState.cameraMatrix));
  const DS_PixelReadback pixels = ReadBack();
  EXPECT_TRUE(SameColour(pixels.At(10, 120), kRed));
  EXPECT_TRUE(SameColour(pixels.At(310, 120), kBlue));
}

// Target render ---------------------------------------------------------------------------------------

// A live object registered only here: it records what the layer hands it and where it draws, and
// an object that needs the scene draws the texture it was given over the whole target, with a
// green mark of its own in one corner, as a brush redraws the scene.
class RecordingObject : public DS_ABObj {
 public:
  explicit RecordingObject(bool needsScene, int markX = -1) : m_NeedsScene(needsScene), m_MarkX(markX) {}

  void Render(DS_2D_Light& layer) override {
    sceneTexture = layer.SceneTexture().Get();
    DS_ComHolder<IDirect3DSurface9> target, back;
    g_Device->GetRenderTarget(0, target.Receive());
    g_Device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, back.Receive());
    drewOnBackBuffer = target.Get() == back.Get();
    ++renders;
    if (!m_NeedsScene) return;
    DS_ScreenQuad whole;
    whole.SetBackBuffer();
    DS_TexturedQuad quad;
    quad.SetFromScreenQuad(layer.SceneTexture(), whole);
    BindQuadTPCT(quad);
    DrawBoundPrimitives(quad);
    if (m_MarkX >= 0) {
      D3DRECT mark = {m_MarkX, 60, m_MarkX + 20, 80};
      g_Device->Clear(1, &mark, D3DCLEAR_TARGET, 0xFF000000u | kGreen, 1.0f, 0);
    }
  }
  void DrawBounds(DS_2D_Light&, int) override {}
  void Update(float) override {}
  void SyncRect() override {}
  bool NeedsSceneTexture() override { return m_NeedsScene; }

  IDirect3DTexture9* sceneTexture = nullptr;
  bool drewOnBackBuffer = false;
  int renders = 0;

 private:
  bool m_NeedsScene;
  int m_MarkX;
};

TEST_F(LayerDevice, ObjectsThatNeedTheSceneGetThePictureDrawnSoFarAndTheLastFinishesOnTheBackBuffer) {
  auto layer = MakeLayer();
  IDirect3DTexture9* picture = layer->BackgroundQuad().picture.texture.Get();
  IDirect3DTexture9* first = layer->Targets().textures[0].Get();
  IDirect3DTexture9* second = layer->Targets().textures[1].Get();
  ASSERT_NE(first, nullptr);
  // Drawn from the last: `last` swaps the pair, `middle` ends the target render, `plain` and
  // `front` draw on the back buffer with the picture as the scene.
  RecordingObject front(false), middle(true), plain(false), last(true, 100);
  DrawFrame(*layer, 0.0f, {&front, &middle, &plain, &last});

  EXPECT_EQ(last.sceneTexture, first);  // the background drawn into the first texture
  EXPECT_FALSE(last.drewOnBackBuffer);
  EXPECT_EQ(plain.sceneTexture, picture);
  EXPECT_FALSE(plain.drewOnBackBuffer);
  EXPECT_EQ(middle.sceneTexture, second);  // the finished picture, green mark included
  EXPECT_TRUE(middle.drewOnBackBuffer);
  EXPECT_EQ(front.sceneTexture, picture);
  EXPECT_TRUE(front.drewOnBackBuffer);
  EXPECT_EQ(layer->SceneTexture().Get(), picture);
  EXPECT_FALSE(layer->InTargetRender());

  // The scene reached the back buffer through both textures: picture, mark, then the borders.
  const DS_PixelReadback pixels = ReadBack();
  EXPECT_TRUE(SameColour(pixels.At(80, 120), kRed));
  EXPECT_TRUE(SameColour(pixels.At(240, 120), kBlue));
  EXPECT_TRUE(SameColour(pixels.At(110, 70), kGreen));
  EXPECT_TRUE(SameColour(pixels.At(160, 10), kGrey));
}

TEST_F(LayerDevice, WithoutTargetTexturesTheSceneUsersDrawOnTheBackBufferFromThePicture) {
  auto layer = MakeLayer();
  layer->Targets().Release();
  RecordingObject user(true);
  DrawFrame(*layer, 0.0f, {&user});
  EXPECT_EQ(user.sceneTexture, layer->BackgroundQuad().picture.texture.Get());
  EXPECT_TRUE(user.drewOnBackBuffer);
  EXPECT_FALSE(layer->InTargetRender());
  EXPECT_TRUE(SameColour(ReadBack().At(80, 120), kRed));
}

TEST_F(LayerDevice, NestedRenderRestoresTheLayerSizeAndTheViewMode) {
  auto layer = MakeLayer();
  DS_RenderTargetPair own;
  ASSERT_TRUE(own.Create(64, 48));
  layer->BeginNestedRender(own, kPicturePositionWholeTarget);
  EXPECT_EQ(layer->LayerWidth(), 64);
  EXPECT_EQ(layer->LayerHeight(), 48);
  EXPECT_EQ(g_ViewState.mode, kPicturePositionWholeTarget);
  EXPECT_EQ(CurrentRenderContext().renderSizeStack.size(), 1u);
  layer->EndNestedRender();
  EXPECT_EQ(layer->LayerWidth(), kWidth);
  EXPECT_EQ(layer->LayerHeight(), kHeight);
  EXPECT_EQ(g_ViewState.mode, kPicturePositionFit);
  EXPECT_TRUE(CurrentRenderContext().renderSizeStack.empty());
  layer->EndNestedRender();  // an end without its begin keeps the size
  EXPECT_EQ(layer->LayerWidth(), kWidth);
}

// Device loss and reset ----------------------------------------------------------------------------

TEST_F(LayerDevice, AfterLossAndResetTheLayerDrawsItsSceneAgain) {
  auto layer = MakeLayer();
  RecordingObject user(true, 100);
  DrawFrame(*layer, 0.0f, {&user});
  ASSERT_TRUE(SameColour(ReadBack().At(80, 120), kRed));

  layer->OnDeviceLost();
  m_Manager->OnDeviceLost();  // as the scene that owns it does, after its layers
  EXPECT_FALSE(layer->Targets().textures[0]);
  EXPECT_FALSE(layer->SceneTexture());
  ASSERT_EQ(Device()->Reset(&s_Device->PresentParameters()), D3D_OK);
  // The device is back to its own defaults (lighting on, which would draw the picture black)
  // until the layer's reset sets its states and makes its targets again.
  m_Manager->OnDeviceReset();
  layer->OnDeviceReset();
  ASSERT_TRUE(layer->Targets().textures[0]);
  DrawFrame(*layer, 0.1f, {&user});
  const DS_PixelReadback pixels = ReadBack();
  EXPECT_TRUE(SameColour(pixels.At(80, 120), kRed));
  EXPECT_TRUE(SameColour(pixels.At(240, 120), kBlue));
  EXPECT_TRUE(SameColour(pixels.At(110, 70), kGreen));
  EXPECT_TRUE(SameColour(pixels.At(160, 10), kGrey));
}

}  // namespace

// The clear under the picture ----------------------------------------------------------------------

TEST_F(LayerDevice, TheClearUnderThePictureIsLeftOutOnlyWhereThePictureCoversEveryPixel) {
  // A 4:3 picture, which fits the 4:3 target exactly.
  AddPicture(Key(u"fourthree.png", 3), MakeTexture(Device(), 64, 48, [](int x, int) {
               return 0xFF000000u | (x < 32 ? kRed : kBlue);
             }), 64, 48);
  constexpr std::uint32_t kMagenta = 0xFF00FF;
  const struct {
    const char* name;
    const char16_t* picture;
    int64_t stamp;
    int mode;
    float zoom, panX, panY;
    bool covers;
  } cases[] = {
      {"2:1 fitted into 4:3 leaves bars", u"halves.png", 1, kPicturePositionFit, 1.0f, 0.0f, 0.0f, false},
      {"2:1 stretched", u"halves.png", 1, kPicturePositionStretch, 1.0f, 0.0f, 0.0f, true},
      {"2:1 filled, cut at the sides", u"halves.png", 1, kPicturePositionFill, 1.0f, 0.0f, 0.0f, true},
      {"4:3 fitted, edge to edge", u"fourthree.png", 3, kPicturePositionFit, 1.0f, 0.0f, 0.0f, true},
      {"zoomed in and panned to a corner", u"halves.png", 1, kPicturePositionStretch, 2.0f, 1.0f, -1.0f, true},
      {"zoomed out to half", u"halves.png", 1, kPicturePositionStretch, 0.5f, 0.0f, 0.0f, false},
      {"zoomed out by one percent", u"halves.png", 1, kPicturePositionStretch, 0.99f, 0.0f, 0.0f, false},
      {"zoomed out by one percent, panned to the left edge", u"fourthree.png", 3, kPicturePositionFit, 0.99f, -1.0f,
       0.0f, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto layer = MakeLayer(c.picture, c.stamp);
    layer->SetPicturePosition(c.mode);
    // What the back buffer held before: it shows wherever neither the clear nor the picture wrote.
    ASSERT_EQ(Device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000u | kMagenta, 1.0f, 0), D3D_OK);
    ASSERT_EQ(Device()->BeginScene(), D3D_OK);
    layer->Update(0.0f);
    g_ViewState.SetCamera(c.zoom, c.panX, c.panY);
    EXPECT_EQ(layer->PictureCoversTarget(), c.covers);
    layer->RenderBackground(false);
    Device()->EndScene();
    const DS_PixelReadback pixels = ReadBack();
    int stale = 0, black = 0, picture = 0;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        stale += SameColour(pixels.At(x, y), kMagenta, 8) ? 1 : 0;
        black += SameColour(pixels.At(x, y), 0x000000, 8) ? 1 : 0;
        picture += SameColour(pixels.At(x, y), kRed) || SameColour(pixels.At(x, y), kBlue) ? 1 : 0;
      }
    }
    EXPECT_EQ(stale, 0);
    // Where the picture leaves a gap, the clear shows in it.
    if (!c.covers) {
      EXPECT_GT(black, 0);
    }
    EXPECT_GT(picture, kWidth * kHeight / 5);
  }
}
