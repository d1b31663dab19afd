// The underwater layer on a real device: the parameters it leaves in its effect and the scene
// texture it hands it; without amplitude the picture as it is, with it a wobble that moves every
// part of the picture between frames; device loss and reset with the layer current and with it
// becoming current after the loss; a missing effect, picture or target falling back to the plain
// picture; and its record in both versions, the nested effect taken over and bound later.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/data/class_registry.h"
#include "core/data/file_links.h"
#include "core/layer/layer_registry.h"
#include "layers/underwater/fake_undervater.h"
#include "tests/support/brush_test_support.h"
#include "tests/support/test_bytes.h"
#include "tests/support/layer_fixture.h"

namespace {

using brush_test::FloatOf;
using brush_test::FloatsOf;
using brush_test::TechniqueOf;
using brush_test::TextureOf;

constexpr int kWidth = LayerFixture::kWidth, kHeight = LayerFixture::kHeight;
const DS_ResourceKey kSmooth{u"smooth.png", 1};
const DS_ResourceKey kChecker{u"checker.png", 2};
const DS_ResourceKey kLarge{u"large.png", 3};
const DS_ResourceKey kMissing{u"missing.png", 4};
const DS_ResourceKey kNoEffect{u"common_res.dll", 999};

// Smooth everywhere, so that a second filtered draw of it changes nothing noticeable.
std::uint32_t SmoothColour(int x, int y) {
  const int r = x * 255 / kWidth, g = y * 255 / kHeight;
  const int b = 128 + static_cast<int>(90.0 * std::sin((x + y) / 60.0));
  return 0xFF000000u | static_cast<std::uint32_t>(r << 16 | g << 8 | b);
}

// Cells of 4 pixels in scattered colours: any shift shows.
std::uint32_t CheckerColour(int x, int y) {
  const std::uint32_t cell = static_cast<std::uint32_t>((x / 4) * 7919 + (y / 4) * 104729);
  return 0xFF000000u | ((cell * 2654435761u) >> 8 & 0xFFFFFFu);
}

class UnderwaterLayer : public LayerFixture {
 protected:
  void SetUp() override {
    LayerFixture::SetUp();
    const std::vector<uint8_t> bytes = brush_test::BuiltEffectBytes(DS_UnderwaterFX::kEffectId);
    ASSERT_FALSE(bytes.empty()) << "effect 88 was not built";
    const DS_ResourceKey key = brush_test::LibraryKey(DS_UnderwaterFX::kEffectId);
    DS_ResourceEntry entry = LibraryEntryOf(key);
    entry.SetData(static_cast<uint32_t>(bytes.size()), bytes.data());
    m_Manager->Store().rawEntries[key].assign(1, entry);
    m_Smooth = MakeTexture(Device(), kWidth, kHeight, SmoothColour);
    StorePicture(*m_Manager, kSmooth, m_Smooth, kWidth, kHeight);
    StorePicture(*m_Manager, kChecker, MakeTexture(Device(), kWidth, kHeight, CheckerColour), kWidth, kHeight);
    // A picture of 1024 x 768 as the effect's parameters see it.
    StorePicture(*m_Manager, kLarge, m_Smooth, 1024, 768);
  }

  // As a slide prepares its layer when the scene starts and the slide becomes current.
  template <class Layer>
  void Prepare(Layer& layer, const DS_ResourceKey& picture) {
    layer.SetPictureLink(picture);
    layer.CreateDeviceObjects();
    layer.OnDeviceReset();
    layer.Layout(kWidth, kHeight);
  }

  // The layer never clears the back buffer, whose content after a present is undefined: each
  // frame starts from a colour that no picture here holds.
  DS_PixelReadback Frame(DS_2D_Light& layer, float time) {
    Device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFF00FF, 1.0f, 0);
    return LayerFixture::Frame(layer, time);
  }

  DS_PixelReadback PlainFrame(const DS_ResourceKey& picture) {
    DS_2D_Light plain;
    Prepare(plain, picture);
    return Frame(plain, 0.5f);
  }

  // The pixels of two frames that differ by more than the tolerance.
  static int Differing(const DS_PixelReadback& a, const DS_PixelReadback& b, int tolerance, int x0 = 0, int y0 = 0,
                       int x1 = kWidth, int y1 = kHeight) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += SameColour(a.At(x, y), b.At(x, y), tolerance) ? 0 : 1;
    return n;
  }

  DS_ComHolder<IDirect3DTexture9> m_Smooth;
};

TEST_F(UnderwaterLayer, ItsEffectGetsTheWobbleForThePictureAndTheFinishedSceneAsBackground) {
  FakeUndervater layer;
  Prepare(layer, kLarge);
  for (int i = 1; i <= 20; ++i) Frame(layer, 0.1f * static_cast<float>(i));  // 2 s at 25 per second
  ID3DXEffect* e = layer.effect.DeviceRefs().effect.Get();
  ASSERT_NE(e, nullptr);
  const std::vector<float> frequency = FloatsOf(e, "frequency", 2);
  ASSERT_EQ(frequency.size(), 2u);
  EXPECT_NEAR(frequency[0], 13.2013f, 1e-3f);
  EXPECT_NEAR(frequency[1], 9.90099f, 1e-3f);
  EXPECT_FLOAT_EQ(FloatOf(e, "amplitude"), 0.00625f);
  EXPECT_NEAR(FloatOf(e, "time"), 4.0f, 1e-4f);
  EXPECT_EQ(TechniqueOf(e), "Main");
  EXPECT_EQ(TextureOf(e, "Mask"), nullptr);
  // The scene drawn into the target, not the picture.
  ASSERT_TRUE(layer.Targets().current);
  EXPECT_EQ(TextureOf(e, "Background"), layer.Targets().current.Get());
  EXPECT_EQ(layer.SceneTexture().Get(), layer.Targets().current.Get());
  // When the slide's turn ends the target goes, and the shared effect keeps no hold on it.
  layer.OnDeviceLost();
  EXPECT_EQ(TextureOf(e, "Background"), nullptr);
}

TEST_F(UnderwaterLayer, WithoutAmplitudeThePictureShowsAsItIsAndWithItEveryPartMovesBetweenFrames) {
  FakeUndervater still;
  still.effect.amplitude.Set(0);
  Prepare(still, kSmooth);
  EXPECT_EQ(Differing(Frame(still, 0.5f), PlainFrame(kSmooth), 6), 0);

  FakeUndervater layer;
  Prepare(layer, kChecker);
  const DS_PixelReadback plain = PlainFrame(kChecker);
  const DS_PixelReadback first = Frame(layer, 0.5f);
  // Ten steps of 0.2 s: "time" grows by 4.
  for (int i = 1; i < 10; ++i) Frame(layer, 0.5f + 0.2f * static_cast<float>(i));
  const DS_PixelReadback second = Frame(layer, 2.5f);
  EXPECT_GT(Differing(first, plain, 8), kWidth * kHeight / 10);
  // Every block of 40 x 40 pixels changes.
  for (int y = 0; y < kHeight; y += 40)
    for (int x = 0; x < kWidth; x += 40) EXPECT_GT(Differing(first, second, 8, x, y, x + 40, y + 40), 0) << x << ", " << y;
}

TEST_F(UnderwaterLayer, DeviceLossAndResetWithTheLayerCurrentAndWithItBecomingCurrentAfter) {
  // Both made at scene start; the second becomes current only after the loss.
  FakeUndervater layer;
  FakeUndervater later;
  later.SetPictureLink(kChecker);
  later.CreateDeviceObjects();
  Prepare(layer, kChecker);
  const DS_PixelReadback before = Frame(layer, 2.0f);
  ASSERT_GT(Differing(before, PlainFrame(kChecker), 8), 0) << "the effect did not draw";
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    // The scene's order: the layers let go, then the manager (whose effect held the layer's
    // target); after the reset the manager, then the current layer.
    layer.OnDeviceLost();
    later.OnDeviceLost();
    m_Manager->OnDeviceLost();
    ASSERT_EQ(Device()->Reset(&s_Device->PresentParameters()), D3D_OK);
    m_Manager->OnDeviceReset();
    layer.OnDeviceReset();
    layer.Layout(kWidth, kHeight);
    EXPECT_EQ(Differing(Frame(layer, 2.0f), before, 2), 0);
  }
  later.OnDeviceReset();
  later.Layout(kWidth, kHeight);
  EXPECT_EQ(Differing(Frame(later, 2.0f), before, 2), 0);
}

TEST_F(UnderwaterLayer, AMissingEffectPictureOrTargetFallsBackToThePlainPicture) {
  const struct {
    const char* what;
    DS_ResourceKey picture;
    bool effect;
    bool target;
  } cases[] = {
      {"no effect", kSmooth, false, true},
      {"no picture", kMissing, true, true},
      {"neither", kMissing, false, true},
      {"no target", kSmooth, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const DS_PixelReadback plain = PlainFrame(c.picture);
    FakeUndervater layer;
    if (!c.effect) layer.effect.effectLink.StoreKey(kNoEffect);
    Prepare(layer, c.picture);
    EXPECT_EQ(layer.effect.WillDraw(), c.effect);
    // Without its target textures (released, as between a loss and the reset) the scene goes
    // straight to the back buffer.
    if (!c.target) layer.OnDeviceLost();
    for (int i = 0; i < 2; ++i) {
      const DS_PixelReadback frame = Frame(layer, 0.5f + static_cast<float>(i));
      EXPECT_EQ(Differing(frame, plain, 6), 0) << "frame " << i;
    }
  }
}

// The base part of version 1: its header alone.
TestBytes& BaseLayer(TestBytes& bytes) { return bytes.Str(u"DS_2D_Light").U32(1); }

std::unique_ptr<DS_2D_Light> ReadLayer(const std::vector<uint8_t>& bytes, size_t& left) {
  ResourceBuffer buffer(bytes.data(), bytes.size());
  DS_DocumentReader reader(&buffer);
  std::unique_ptr<DS_2D_Light> layer = DS_ReadRegisteredObject(GetLightReaderMap(), reader);
  left = buffer.Remaining();
  return layer;
}

TEST_F(UnderwaterLayer, AVersionOneRecordHoldsTheSpeedStoredDoubled) {
  const struct {
    uint32_t stored, speed;
  } cases[] = {{51, 25}, {50, 25}, {1, 0}, {0, 0}, {0xFFFFFFFFu, 0x7FFFFFFFu}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    TestBytes bytes;
    bytes.Str(u"FakeUndervater").U32(1).U32(c.stored);
    size_t left = 99;
    const std::unique_ptr<DS_2D_Light> read = ReadLayer(BaseLayer(bytes).bytes, left);
    const auto* layer = dynamic_cast<const FakeUndervater*>(read.get());
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(left, 0u);
    EXPECT_EQ(layer->effect.speed.Get(), c.speed);
    EXPECT_FLOAT_EQ(layer->effect.speed.Derived(), static_cast<float>(c.speed));
    // The rest of the effect keeps its defaults.
    EXPECT_EQ(layer->effect.amplitude.Get(), 50u);
    EXPECT_EQ(layer->effect.effectLink.Key(), brush_test::LibraryKey(DS_UnderwaterFX::kEffectId));
  }
}

TEST_F(UnderwaterLayer, AVersionTwoRecordsEffectIsTakenOverAndBoundWhenTheLayerIsMade) {
  DS_Guid guid;
  guid.data1 = 0x12345678;
  TestBytes bytes;
  bytes.Str(u"FakeUndervater").U32(2);
  bytes.Str(u"DS_UnderwaterFX").U32(1).U32(0).U32(150);
  bytes.Str(u"DS_FX_Constructor").U32(2).U32(60).I32(0).Str(DS_GuidToString(guid)).Str(u"").U8(1);
  bytes.Str(u"common_res.dll").I64(DS_UnderwaterFX::kEffectId).U32(50);
  bytes.Str(u"DS_ABObj_Constructor").U32(1).Str(u"");
  size_t left = 99;
  std::unique_ptr<DS_2D_Light> read = ReadLayer(BaseLayer(bytes).bytes, left);
  auto* layer = dynamic_cast<FakeUndervater*>(read.get());
  ASSERT_NE(layer, nullptr);
  EXPECT_EQ(left, 0u);
  EXPECT_EQ(layer->effect.amplitude.Get(), 0u);
  EXPECT_FLOAT_EQ(layer->effect.wavelength.Derived(), 0.301f);
  EXPECT_EQ(layer->effect.speed.Get(), 60u);
  EXPECT_EQ(layer->effect.maskKey.id, guid);
  EXPECT_FALSE(layer->effect.WillDraw()) << "bound before its device objects were made";
  // Made as a slide makes it: the effect bound, without a mask; no amplitude shows the picture.
  Prepare(*layer, kSmooth);
  EXPECT_TRUE(layer->effect.WillDraw());
  EXPECT_FALSE(layer->effect.DeviceRefs().maskTexture);
  EXPECT_EQ(Differing(Frame(*layer, 0.5f), PlainFrame(kSmooth), 6), 0);
}

}  // namespace
