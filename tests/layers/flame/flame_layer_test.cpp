// The flame layer on a real device, with its effects and pictures from common_res.dll: the fire
// band burns and moves over the lower part of the picture while the upper part stays the
// picture; the heat distortion moves the whole scene slightly, and not at all without its bump
// picture; a distortion value other than 0 or 1 draws as 0; missing effects and pictures leave
// the plain picture; device loss and reset with the layer current and with it becoming current
// after the loss. Also its record: a version 1 record's fire speed and a nested fire record
// copied into the layer's own fire.
#include <d3dx9.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "brushes/base_fx/ds_fx_device.h"
#include "core/data/class_registry.h"
#include "core/data/ds_stream.h"
#include "core/layer/layer_registry.h"
#include "layers/flame/ds_flame_light.h"
#include "tests/support/layer_fixture.h"

namespace {

constexpr int kWidth = LayerFixture::kWidth, kHeight = LayerFixture::kHeight;
// A 4:3 picture fills the 4:3 back buffer; the band starts at 0.35 of the height.
constexpr int kBandTop = 84;
const DS_ResourceKey kPicture{u"bands.png", 1};

// Twelve horizontal bands of 16 rows, each its own colour (picture rows; 1.25 screen rows each).
std::uint32_t BandColour(int y) {
  static const std::uint32_t kBands[12] = {0x2040A0, 0x20A040, 0x4020A0, 0x208080, 0x602080, 0x406020,
                                           0x204060, 0x306090, 0x403080, 0x208050, 0x505050, 0x304070};
  return 0xFF000000u | kBands[(y / 16) % 12];
}

int Red(std::uint32_t rgb) { return static_cast<int>((rgb >> 16) & 0xFF); }

class FlameLayer : public LayerFixture {
 protected:
  void SetUp() override {
    LayerFixture::SetUp();
    StorePicture(*m_Manager, kPicture, MakeTexture(Device(), 256, 192, [](int, int y) { return BandColour(y); }), 256,
                 192);
  }

  void Prepare(DS_2D_Light& layer) { PrepareOnPicture(layer, kPicture); }

  DS_PixelReadback PlainPicture() {
    DS_2D_Light plain;
    Prepare(plain);
    return Frame(plain, 0.0f);
  }

  // Pixels that differ by more than `tolerance` in the rows [y0, y1).
  static int Changed(const DS_PixelReadback& a, const DS_PixelReadback& b, int y0, int y1, int tolerance = 3) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = 0; x < kWidth; ++x) n += SameColour(a.At(x, y), b.At(x, y), tolerance) ? 0 : 1;
    return n;
  }
  // Rows [y0, y1) without those next to a colour band's edge, where a shift of a pixel shows.
  static int ChangedAwayFromEdges(const DS_PixelReadback& a, const DS_PixelReadback& plain, int y0, int y1, int tolerance) {
    int n = 0;
    for (int y = y0; y < y1; ++y) {
      if (plain.At(0, y - 2) != plain.At(0, y) || plain.At(0, y + 2) != plain.At(0, y)) continue;
      for (int x = 0; x < kWidth; ++x) n += SameColour(a.At(x, y), plain.At(x, y), tolerance) ? 0 : 1;
    }
    return n;
  }
};

TEST_F(FlameLayer, TheBandBurnsAndMovesOverTheLowerPartWhileTheTopStaysThePicture) {
  const DS_PixelReadback picture = PlainPicture();
  DS_FlameLight flame;
  flame.distortionOn.Set(0);
  Prepare(flame);
  ASSERT_TRUE(flame.fire.DeviceRefs().effect);
  const DS_PixelReadback first = Frame(flame, 0.5f);
  const DS_PixelReadback second = Frame(flame, 0.8f);
  EXPECT_EQ(Changed(first, picture, 0, kBandTop - 2, 0), 0);
  EXPECT_EQ(Changed(second, picture, 0, kBandTop - 2, 0), 0);
  // The flames stand on the bottom and thin out upwards.
  const int lower = Changed(first, picture, kHeight - 60, kHeight);
  EXPECT_GT(lower, kWidth * 60 / 2);
  EXPECT_LT(Changed(first, picture, kBandTop, kBandTop + 60), lower);
  EXPECT_GT(Changed(first, second, kBandTop, kHeight), 500);
  // Red to yellow: where it burns, red rises well above the picture's.
  int fiery = 0;
  for (int y = kHeight - 40; y < kHeight; ++y)
    for (int x = 0; x < kWidth; x += 4) fiery += Red(first.At(x, y)) > Red(picture.At(x, y)) + 80 ? 1 : 0;
  EXPECT_GT(fiery, kWidth / 4 * 40 / 2);
}

TEST_F(FlameLayer, TheBandFollowsTheFireOffsetAndTheFireCanBeOff) {
  const struct {
    float height;
    uint32_t offset;
    float top, bottom;
  } edges[] = {{600, 0, 210, 600}, {600, 20, 270, 660}, {192, 0, 67.2f, 192}};
  for (const auto& c : edges) {
    float got[2];
    DS_FlameLight::BandEdges(c.height, c.offset, got);
    EXPECT_NEAR(got[0], c.top, 1e-3f) << c.height << " " << c.offset;
    EXPECT_NEAR(got[1], c.bottom, 1e-3f) << c.height << " " << c.offset;
  }
  const DS_PixelReadback picture = PlainPicture();
  DS_FlameLight lowered;
  lowered.distortionOn.Set(0);
  lowered.fireOffset.Set(20);  // the band from 0.45 of the height down, partly below the picture
  Prepare(lowered);
  const DS_PixelReadback frame = Frame(lowered, 0.5f);
  EXPECT_EQ(Changed(frame, picture, 0, 108 - 2, 0), 0);
  EXPECT_GT(Changed(frame, picture, kHeight - 40, kHeight), kWidth * 40 / 2);

  DS_FlameLight unlit;
  unlit.distortionOn.Set(0);
  unlit.fireOn.Set(0);
  Prepare(unlit);
  EXPECT_EQ(Changed(Frame(unlit, 0.5f), picture, 0, kHeight, 0), 0);
}

TEST_F(FlameLayer, TheDistortionMovesTheWholeSceneSlightlyAndFollowsItsStrength) {
  const DS_PixelReadback picture = PlainPicture();
  DS_FlameLight flame;
  Prepare(flame);
  ASSERT_TRUE(flame.HasDistortion());
  ASSERT_TRUE(flame.distortion.effect);
  const DS_PixelReadback frame = Frame(flame, 0.5f);
  EXPECT_FALSE(flame.InTargetRender());
  // Inside each colour band the picture is unchanged; at most their edges move by a pixel.
  EXPECT_EQ(ChangedAwayFromEdges(frame, picture, 2, kBandTop - 2, 3), 0);
  // "stenght" 0.0025, the drift 0.05 per second (the first frame's step counts as the 0.2 s
  // cap), the bump's aspect that of the picture.
  EXPECT_NEAR(flame.distortion.Strength(), 0.0025f, 1e-6f);
  float offset[2], scale[2];
  flame.distortion.Offset(offset);
  flame.distortion.BumpScale(scale);
  EXPECT_NEAR(offset[0], 0.01f, 1e-5f);
  EXPECT_NEAR(offset[1], -0.01f, 1e-5f);
  EXPECT_NEAR(scale[0], 0.208f, 1e-4f);
  EXPECT_NEAR(scale[1], 0.208f * 192.0f / 256.0f, 1e-4f);

  // Forty times as strong (0.1 of the picture): the bands' colours run into each other.
  DS_FlameLight strong;
  strong.distortion.strength.Set(1000);
  Prepare(strong);
  EXPECT_GT(Changed(Frame(strong, 0.5f), picture, 2, kBandTop - 2, 3), kWidth * 10);
}

TEST_F(FlameLayer, ADistortionValueOtherThan0Or1DrawsAsOff) {
  const DS_PixelReadback picture = PlainPicture();
  DS_FlameLight flame;
  Prepare(flame);
  Frame(flame, 0.5f);  // the pair's texture now holds a scene with fire
  flame.fireOn.Set(0);
  flame.distortionOn.Set(2);
  EXPECT_FALSE(flame.HasDistortion());
  // No target render was begun, so none is ended and nothing stale is drawn over the picture.
  EXPECT_EQ(Changed(Frame(flame, 0.6f), picture, 0, kHeight, 0), 0);
}

TEST_F(FlameLayer, MissingEffectsAndPicturesLeaveThePlainPicture) {
  const DS_PixelReadback picture = PlainPicture();
  {
    SCOPED_TRACE("no effects");
    DS_FlameLight flame;
    flame.fire.effectLink.StoreKey(DS_ResourceKey{u"common_res.dll", 999});
    flame.distortion.effectLink.StoreKey(DS_ResourceKey{u"common_res.dll", 998});
    Prepare(flame);
    EXPECT_EQ(flame.distortionOn.Get(), 0);  // off for good: no target render is asked for
    EXPECT_FALSE(flame.HasDistortion());
    EXPECT_EQ(Changed(Frame(flame, 0.5f), picture, 0, kHeight, 0), 0);
  }
  {
    SCOPED_TRACE("no pattern, noise or bump");
    DS_FlameLight flame;
    flame.fire.patternLink.StoreKey(DS_ResourceKey{u"missing.png", 1});
    flame.fire.noiseLink.StoreKey(DS_ResourceKey{u"missing.png", 2});
    flame.distortion.bumpLink.StoreKey(DS_ResourceKey{u"missing.png", 3});
    flame.distortion.strength.Set(500);  // 5 % of the picture, were there a bump
    Prepare(flame);
    EXPECT_FALSE(flame.distortion.bumpTexture);
    EXPECT_EQ(flame.distortion.Strength(), 0.0f);
    // The scene is drawn unmoved: the bands stay where they are (within the pass's filtering of
    // their edges).
    EXPECT_EQ(ChangedAwayFromEdges(Frame(flame, 0.5f), picture, 2, kBandTop - 2, 3), 0);
  }
  {
    SCOPED_TRACE("no picture");
    DS_FlameLight flame;
    PrepareOnPicture(flame, DS_ResourceKey{u"missing.png", 4});
    EXPECT_EQ(flame.PictureWidth(), 0u);
    EXPECT_EQ(flame.distortion.aspect, 1.0f);
    const DS_PixelReadback frame = Frame(flame, 0.5f);
    EXPECT_EQ(frame.Width(), kWidth);
  }
}

TEST_F(FlameLayer, DeviceLossAndResetWithTheLayerCurrentAndWithItBecomingCurrentAfter) {
  // Both made at scene start; the second becomes current only after the loss.
  DS_FlameLight flame;
  DS_FlameLight later;
  later.SetPictureLink(kPicture);
  later.CreateDeviceObjects();
  Prepare(flame);
  const DS_PixelReadback before = Frame(flame, 2.0f);
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    LoseAndResetDevice({&flame, &later}, flame);
    EXPECT_EQ(DifferingSamples(Frame(flame, 2.0f), before, 0), 0);
  }
  later.OnDeviceReset();
  later.Layout(kWidth, kHeight);
  EXPECT_EQ(DifferingSamples(Frame(later, 2.0f), before, 2), 0);
}

// Record -------------------------------------------------------------------------------------------

std::unique_ptr<DS_2D_Light> ReadLayer(const std::vector<uint8_t>& bytes) {
  ResourceBuffer buffer(bytes.data(), bytes.size());
  DS_DocumentReader reader(&buffer);
  return ReadLightObject(reader);
}

TEST_F(FlameLayer, AVersion1RecordGivesTheFireItsSpeedAndKeepsTheRestOfItsDefaults) {
  // Version 1 written from the record list: the values it holds are set away from their defaults,
  // and so are two of the fire's own (which only version 2 holds), which must not come back.
  DS_FlameLight written;
  written.fireOn.Set(0);
  written.fireOffset.Set(4);
  written.fire.speed.Set(80);
  written.distortion.speed.Set(60);
  written.distortion.bumpScale.Set(90);
  written.fire.density.Set(140);
  written.fire.colourTo.Set(0x00123456u);
  DS_IOF_ByteWriter out;
  DS_WriteRecord(out, written, "DS_FlameLight", 1);
  const std::unique_ptr<DS_2D_Light> layer = ReadLayer(out.TakeBytes());
  auto* flame = dynamic_cast<DS_FlameLight*>(layer.get());
  ASSERT_NE(flame, nullptr);
  EXPECT_EQ(flame->fireOn.Get(), 0);
  EXPECT_EQ(flame->fireOffset.Get(), 4u);
  EXPECT_EQ(flame->fire.speed.Get(), 80u);
  EXPECT_NEAR(flame->fire.speed.Derived(), 1.6f, 1e-6f);
  EXPECT_EQ(flame->distortion.speed.Get(), 60u);
  EXPECT_EQ(flame->distortion.bumpScale.Get(), 90u);
  const DS_FlameLight defaults;
  EXPECT_TRUE(flame->fire.patternLink.Key() == defaults.fire.patternLink.Key());
  EXPECT_TRUE(flame->fire.noiseLink.Key() == defaults.fire.noiseLink.Key());
  EXPECT_EQ(flame->fire.density.Get(), defaults.fire.density.Get());
  EXPECT_EQ(flame->fire.colourTo.Get(), defaults.fire.colourTo.Get());
}

TEST_F(FlameLayer, TheNestedFireRecordIsCopiedIntoTheLayersOwnFire) {
  DS_FlameLight written;
  written.fire.colourTo.Set(0x00123456u);
  written.fire.density.Set(140);
  written.fire.uRepeat.Set(250);
  written.fire.speed.Set(70);
  written.fire.corners.corners[3].Store(DS_Vector3{5, 6, 7});
  written.fire.patternLink.StoreKey(DS_ResourceKey{u"common_res.dll", 93});
  DS_IOF_ByteWriter out;
  written.Write(out);
  const std::vector<uint8_t> bytes = out.TakeBytes();
  const std::unique_ptr<DS_2D_Light> layer = ReadLayer(bytes);
  auto* flame = dynamic_cast<DS_FlameLight*>(layer.get());
  ASSERT_NE(flame, nullptr);
  EXPECT_EQ(flame->fire.colourTo.Get(), 0x00123456u);
  EXPECT_NEAR(flame->fire.density.Derived(), 0.4f, 1e-6f);
  EXPECT_NEAR(flame->fire.RepeatU(), 0.4f, 1e-6f);
  EXPECT_NEAR(flame->fire.speed.Derived(), 1.4f, 1e-6f);
  EXPECT_TRUE(flame->fire.corners.corners[3].Get() == (DS_Vector3{5, 6, 7}));
  EXPECT_EQ(flame->fire.patternLink.Key().stamp, 93);
  // And it writes back the same record.
  DS_IOF_ByteWriter again;
  flame->Write(again);
  EXPECT_EQ(again.TakeBytes(), bytes);
}

}  // namespace
