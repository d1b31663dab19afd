// The particle live object on a device: the geometry's size and its cap, pictures that resolve
// to nothing or to fewer frames than their times, the pictures an old record embeds, and a
// geometry whose buffers could not be made.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "core/layer/ds_2d_light.h"
#include "core/render/device_globals.h"
#include "core/render/view_state.h"
#include "core/resources/doc_res_manager.h"
#include "objects/clock/ds_clock_constructor.h"
#include "objects/discharge/ds_discharge_constructor.h"
#include "objects/flower/ds_flower_constructor.h"
#include "objects/base_particles/ds_sprite_array_obj.h"
#include "objects/sparkle/ds_sparkle_constructor.h"
#include "objects/stat_obj/ds_stat_obj_constructor.h"
#include "tests/support/stored_picture.h"
#include "tests/objects/particle_test_support.h"
#include "tools/device/window_device.h"

namespace {

constexpr int kWidth = 160, kHeight = 120;

// One device for the suite; each test gets its own resource manager and layer on it.
class SpriteArrayOnDevice : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_Device = std::make_unique<DS_WindowDevice>();
    if (!s_Device->Open(kWidth, kHeight, L"sprite array test")) s_Device.reset();
  }
  static void TearDownTestSuite() {
    g_ViewState.ReleaseBorders();  // the borders were made on this device
    s_Device.reset();
  }
  void SetUp() override {
    ASSERT_TRUE(s_Device) << "no device";
    s_Device->MakeCurrent();
    g_DocResManager = &m_Manager;
    m_Layer = std::make_unique<DS_2D_Light>();
    m_Layer->CreateDeviceObjects();
    m_Layer->OnDeviceReset();
    m_Layer->Layout(kWidth, kHeight);
  }
  void TearDown() override {
    m_Layer.reset();
    g_DocResManager = nullptr;
  }

  static std::unique_ptr<DS_SpriteArrayObj> Make(const DS_ParticleSystemCtrl& set) {
    std::unique_ptr<DS_ABObj> object = set.CreateObject();
    auto* sprites = dynamic_cast<DS_SpriteArrayObj*>(object.get());
    if (!sprites) return nullptr;
    object.release();
    return std::unique_ptr<DS_SpriteArrayObj>(sprites);
  }

  // Frames at the given times, each drawn through the layer.
  void Play(DS_SpriteArrayObj& object, std::initializer_list<float> times) {
    IDirect3DDevice9* d = s_Device->Device();
    for (float t : times) {
      m_Layer->Update(t);
      object.Update(t);
      DS_ABObj* objects[1] = {&object};
      ASSERT_EQ(d->BeginScene(), D3D_OK);
      m_Layer->RenderScene(objects, 1);
      m_Layer->PostRender();
      ASSERT_EQ(d->EndScene(), D3D_OK);
    }
  }

  static std::unique_ptr<DS_WindowDevice> s_Device;
  DS_DocResManager m_Manager;
  std::unique_ptr<DS_2D_Light> m_Layer;
};
std::unique_ptr<DS_WindowDevice> SpriteArrayOnDevice::s_Device;

TEST_F(SpriteArrayOnDevice, TheGeometryHoldsOneSpritePerParticleUpToSixteenThousand) {
  const struct {
    uint32_t count, sprites;
  } cases[] = {{3, 3}, {16383, 16383}, {20000, 16383}, {0xFFFFFFFFu, 16383}};
  for (const auto& c : cases) {
    DS_SparkleConstructor set;
    set.count.Set(c.count);
    set.baseSize.Set(4);
    auto object = Make(set);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->vertexCount, static_cast<int>(4 * c.sprites)) << c.count;
    EXPECT_EQ(object->triangleCount, static_cast<int>(2 * c.sprites)) << c.count;
    EXPECT_EQ(object->particles.size(), c.sprites) << c.count;
    EXPECT_EQ(object->primitiveType, D3DPT_TRIANGLELIST);
    Play(*object, {0.1f, 0.2f});
  }
}

TEST_F(SpriteArrayOnDevice, ACountOfZeroMakesNothingAndDrawsNothing) {
  DS_SparkleConstructor set;
  set.count.Set(0);
  auto object = Make(set);
  ASSERT_NE(object, nullptr);
  EXPECT_FALSE(object->vertexBuffer);
  EXPECT_TRUE(object->particles.empty());
  Play(*object, {0.1f, 0.2f});
}

TEST_F(SpriteArrayOnDevice, PicturesThatResolveToNothingDrawNoPictureAndDoNotFail) {
  const struct {
    const char16_t* name;
    int64_t stamp;
    int32_t source;
  } cases[] = {
      {u"", 0, 0},                   // no picture named (every set written without one)
      {u"not-embedded.png", 9, 0},  // a file the document does not hold
      {u"common_res.dll", 249, 1},  // a library container that is not there
      {u"common_res.dll", 239, 0},  // a library picture that is not there
  };
  for (const auto& c : cases) {
    DS_SparkleConstructor set;
    set.count.Set(5);
    set.baseSize.Set(20);
    set.image.StoreKey(DS_ResourceKey{c.name, c.stamp});
    set.imageSource = c.source;
    set.sheetAnimation = true;
    set.sheetFrameCount = 0;  // and a sheet of no frames
    set.sheetFrameRate = 30.0f;
    auto object = Make(set);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->particles.size(), 5u);
    Play(*object, {0.1f, 0.3f, 0.5f});
  }
}

TEST_F(SpriteArrayOnDevice, FrameTimesBeyondThePicturesFramesWrapRoundTheTextures) {
  DS_StatObjConstructor set;
  set.baseSize.Set(40);
  set.placement.further1.Store(80);
  set.placement.further2.Store(60);
  set.image.StoreKey(DS_ResourceKey{u"common_res.dll", 241});  // three frames
  set.imageSource = 1;
  auto object = Make(set);
  ASSERT_NE(object, nullptr);
  ASSERT_EQ(object->textures.size(), 3u);
  EXPECT_EQ(object->isStatic, 1);
  object->frameTimes.assign(7, 0.05f);  // more times than frames
  uint32_t highest = 0;
  for (float t = 0.1f; t < 1.0f; t += 0.1f) {
    Play(*object, {t});
    highest = std::max(highest, object->frame);
  }
  EXPECT_GE(highest, 3u) << "the frame index never ran past the textures";
}

TEST_F(SpriteArrayOnDevice, AFrameSwitchesOnlyOnceMoreThanItsTimeHasPassed) {
  AnimatedTexture<ParticleGeomArray> animation;
  EXPECT_FALSE(animation.AdvanceFrame(5.0f));  // no frame times
  animation.frameTimes = {0.1f, 0.1f};
  EXPECT_FALSE(animation.AdvanceFrame(0.1f));
  EXPECT_TRUE(animation.AdvanceFrame(0.1001f));
  EXPECT_EQ(animation.frame, 1u);
  EXPECT_TRUE(animation.AdvanceFrame(0.3f));
  EXPECT_EQ(animation.frame, 0u);
}

// A version 1 record embeds its pictures; the live object links and shows them.
TEST_F(SpriteArrayOnDevice, AnOldRecordsEmbeddedPicturesBecomeLinks) {
  const std::vector<uint8_t> png = [] {
    DS_ComHolder<IDirect3DTexture9> texture =
        MakeTexture(s_Device->Device(), 8, 16, [](int, int) { return 0xFFFF0000u; });
    DS_ComHolder<ID3DXBuffer> file;
    D3DXSaveTextureToFileInMemory(file.Receive(), D3DXIFF_PNG, texture.Get(), nullptr);
    const auto* p = static_cast<const uint8_t*>(file->GetBufferPointer());
    return std::vector<uint8_t>(p, p + file->GetBufferSize());
  }();
  for (bool withOverlay : {true, false}) {
    TestBytes b;
    b.Header(u"DS_BaseSpriteProp", 1);
    AppendViewPart(b);
    b.U32(1).U32(50).U32(40).U32(0).I32(0).U32(0xFFFFFF);
    b.F32(0).F32(0).F32(1).F32(1).F32(1);
    b.U32(1).Entry(0, u"", png, u"old-sprite.png");
    b.Entry(0, u"", withOverlay ? png : std::vector<uint8_t>{}, u"old-overlay.png");
    b.U32(1).F32(0).U32(1).F32(0).U8(0).U32(0);
    DS_StatObjConstructor set;
    ASSERT_TRUE(ReadsWhole(b.bytes, [&](DS_IOF_Virtual& in) { set.DS_BaseSpriteProp::ReadObject(in); }));
    set.placement.further1.Store(80);
    set.placement.further2.Store(60);
    auto object = Make(set);
    ASSERT_NE(object, nullptr);
    ASSERT_EQ(object->textures.size(), 1u);
    EXPECT_TRUE(object->textures[0]);
    EXPECT_FLOAT_EQ(object->aspect, 2.0f);
    EXPECT_EQ(static_cast<bool>(object->GetOverlayTexture()), withOverlay);
    Play(*object, {0.1f});
  }
}

// Without a device nothing is made: the object updates and draws as an empty one.
TEST_F(SpriteArrayOnDevice, AGeometryWithoutBuffersUpdatesAndDrawsNothing) {
  DS_SparkleConstructor set;
  set.count.Set(10);
  set.baseSize.Set(10);
  IDirect3DDevice9* device = g_Device;
  g_Device = nullptr;
  auto object = Make(set);
  g_Device = device;
  ASSERT_NE(object, nullptr);
  EXPECT_FALSE(object->vertexBuffer);
  EXPECT_FALSE(object->indexBuffer);
  EXPECT_EQ(object->particles.size(), 10u);
  Play(*object, {0.1f, 0.2f});
}

}  // namespace

namespace {

// The selection display of a particle system shades its view rectangle and nothing else.
TEST_F(SpriteArrayOnDevice, BoundsShadeTheViewOfASystem) {
  DS_SparkleConstructor system;
  system.count.Set(1);
  system.view = DS_ViewFractions{0.5f, 1.0f, 0.0f, 1.0f};
  IDirect3DDevice9* d = s_Device->Device();
  auto object = Make(system);
  ASSERT_NE(object, nullptr);
  m_Layer->Update(0.1f);
  object->Update(0.1f);
  DS_PixelReadback frames[2];
  for (int withBounds = 0; withBounds < 2; ++withBounds) {
    ASSERT_EQ(d->BeginScene(), D3D_OK);
    m_Layer->RenderScene(nullptr, 0);
    if (withBounds) object->DrawBounds(*m_Layer, 0);
    m_Layer->PostRender();
    ASSERT_EQ(d->EndScene(), D3D_OK);
    ASSERT_TRUE(frames[withBounds].ReadBackBuffer(d));
  }
  const int inside = 3 * kWidth / 4, outside = kWidth / 4, y = kHeight / 2;
  EXPECT_FALSE(SameColour(frames[0].At(inside, y), frames[1].At(inside, y), 4)) << "the view is not shaded";
  EXPECT_TRUE(SameColour(frames[0].At(outside, y), frames[1].At(outside, y), 4)) << "shaded outside the view";
}

// The objects placed by a rectangle of picture pixels (the still picture, the flower and the
// discharge built on it, and the clock) take a layer point through the screen mapping and the
// view into picture pixels before they test it against their edges. A 640 x 480 picture fitted
// to the 160 x 120 back buffer: the layer's middle is the picture's middle (320, 240).
TEST_F(SpriteArrayOnDevice, ObjectsPlacedByARectangleAreHitThroughTheScreenMapping) {
  const DS_ResourceKey key{u"picture.png", 1};
  StorePicture(m_Manager, key, MakeSolidTexture(s_Device->Device(), 0xFF808080u), 640, 480);
  m_Layer->SetPictureLink(key);
  m_Layer->CreateDeviceObjects();
  m_Layer->OnDeviceReset();
  DS_StatObjConstructor still;
  DS_FlowerConstructor flower;
  DS_DischargeConstructor discharge;
  DS_ClockConstructor clock;
  const struct {
    const char* kind;
    DS_ViewObjCtrl& set;
    MediaRectangle& placement;
  } kinds[] = {{"still picture", still, still.placement},
               {"flower", flower, flower.placement},
               {"discharge", discharge, discharge.placement},
               {"clock", clock, clock.placement}};
  // The layer laid out at the back buffer's size (the mapping scales are 1) and at twice it (the
  // scales are 0.5); the points in layer units.
  const struct {
    int layerWidth, layerHeight;
    float x, y;
    bool hit;
  } cases[] = {
      {kWidth, kHeight, 80.0f, 60.0f, true},      // picture (320, 240)
      {kWidth, kHeight, 74.5f, 54.5f, true},      // picture (298, 218): near the top left corner
      {kWidth, kHeight, 73.5f, 60.0f, false},     // picture (294, 240): left of it
      {kWidth, kHeight, 300.0f, 230.0f, false},   // picture pixels taken as they are would hit
      {2 * kWidth, 2 * kHeight, 160.0f, 120.0f, true},
      {2 * kWidth, 2 * kHeight, 80.0f, 60.0f, false},
  };
  for (const auto& kind : kinds) {
    SCOPED_TRACE(kind.kind);
    kind.placement.left.Store(296);
    kind.placement.right.Store(344);
    kind.placement.top.Store(216);
    kind.placement.bottom.Store(264);
    for (const auto& c : cases) {
      SCOPED_TRACE(c.layerWidth);
      m_Layer->Layout(c.layerWidth, c.layerHeight);
      EXPECT_EQ(kind.set.HitTest(c.x, c.y), c.hit) << c.x << ", " << c.y;
    }
  }
}

}  // namespace
