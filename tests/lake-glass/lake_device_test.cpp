// The lake layer on a real device: above the horizon the plain picture, below it the band above
// the horizon upside down, displaced by the bump map so that it moves from frame to frame, under
// a tint that is strongest at the bottom; and device loss and reset, with the lake current and
// with it becoming current after the loss.
#include <d3dx9.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "layers/lake/fake_lake_2d.h"
#include "tests/layers/layer_fixture.h"

namespace {

constexpr int kWidth = LayerFixture::kWidth, kHeight = LayerFixture::kHeight;
// A 4:3 picture fills the 4:3 back buffer: picture row y is screen row y x 240 / 192.
constexpr int kHorizon = 150;  // 0.625 of the height with the default share
const DS_ResourceKey kPicture{u"bands.png", 1};

// Twelve bands of 16 rows, each its own colour.
std::uint32_t BandColour(int y) {
  static const std::uint32_t kBands[12] = {0xE02020, 0x20E020, 0x2020E0, 0xE0E020, 0x20E0E0, 0xE020E0,
                                           0x804020, 0x208040, 0x402080, 0xC0C0C0, 0x606060, 0xF08080};
  return 0xFF000000u | kBands[(y / 16) % 12];
}

class LakeDevice : public LayerFixture {
 protected:
  void SetUp() override {
    LayerFixture::SetUp();
    StorePicture(*m_Manager, kPicture, MakeTexture(Device(), 256, 192, [](int, int y) { return BandColour(y); }), 256,
                 192);
  }

  // The bump map the document would hold, made on the device as V8U8 (this D3DX does not decode
  // the DDS form), du and dv from fixed noise or 0, under the layer's key.
  void StoreBumpMap(const FakeLake2D& lake, bool flat) {
    DS_ComHolder<IDirect3DTexture9> bump;
    ASSERT_EQ(Device()->CreateTexture(64, 64, 1, 0, D3DFMT_V8U8, D3DPOOL_MANAGED, bump.Receive(), nullptr), D3D_OK);
    D3DLOCKED_RECT r;
    ASSERT_EQ(bump->LockRect(0, &r, nullptr, 0), D3D_OK);
    std::srand(7);
    for (int y = 0; y < 64; ++y)
      for (int x = 0; x < 64; ++x) {
        auto* texel = static_cast<std::int8_t*>(r.pBits) + y * r.Pitch + 2 * x;
        texel[0] = flat ? 0 : static_cast<std::int8_t>(std::rand() % 255 - 127);
        texel[1] = flat ? 0 : static_cast<std::int8_t>(std::rand() % 255 - 127);
      }
    bump->UnlockRect(0);
    m_Manager->Store().maskTextures[lake.maskKey] = DS_MaskTexture{bump, {}};
  }

  template <class Layer>
  void Prepare(Layer& layer) {
    layer.SetPictureLink(kPicture);
    layer.CreateDeviceObjects();
    layer.OnDeviceReset();
    layer.Layout(kWidth, kHeight);
  }

  static int Channel(std::uint32_t colour, int shift) { return static_cast<int>((colour >> shift) & 0xFF); }

};

TEST_F(LakeDevice, AboveTheHorizonThePictureBelowItTheBandAboveMirrored) {
  DS_2D_Light plain;
  Prepare(plain);
  const DS_PixelReadback picture = Frame(plain, 0.0f);
  FakeLake2D lake;
  lake.tintAlpha.Set(0);     // no tint
  lake.horizonStrip.Set(0);  // no strip
  StoreBumpMap(lake, true);  // no displacement
  Prepare(lake);
  const DS_PixelReadback frame = Frame(lake, 0.0f);
  for (int y = 2; y < kHorizon - 2; y += 9)
    for (int x = 5; x < kWidth; x += 50)
      EXPECT_EQ(frame.At(x, y), picture.At(x, y)) << x << ", " << y;
  // Band centres above the horizon (screen rows 130, 110, 90, 70) seen as far below it.
  for (int k = 20; k <= 80; k += 20)
    for (int x = 10; x < kWidth; x += 100)
      EXPECT_TRUE(SameColour(frame.At(x, kHorizon + k), picture.At(x, kHorizon - k), 16))
          << "k " << k << ": " << std::hex << frame.At(x, kHorizon + k) << " for " << picture.At(x, kHorizon - k);
}

TEST_F(LakeDevice, TheReflectionMovesFromFrameToFrameAndThePictureStays) {
  FakeLake2D lake;
  StoreBumpMap(lake, false);
  Prepare(lake);
  ASSERT_TRUE(lake.BumpTexture());
  const DS_PixelReadback first = Frame(lake, 0.5f);
  const DS_PixelReadback second = Frame(lake, 0.7f);  // the matrix turned by 0.9 radians
  int above = 0, below = 0;
  for (int y = 0; y < kHeight; y += 2)
    for (int x = 0; x < kWidth; x += 2) {
      if (SameColour(first.At(x, y), second.At(x, y), 4)) continue;
      (y < kHorizon - 12 ? above : below) += 1;
    }
  EXPECT_EQ(above, 0);
  EXPECT_GT(below, 200);
}

TEST_F(LakeDevice, TheTintIsStrongestAtTheBottomAndTheStripFadesAboveTheHorizon) {
  FakeLake2D bare;
  bare.tintAlpha.Set(0);
  bare.horizonStrip.Set(0);
  StoreBumpMap(bare, true);
  Prepare(bare);
  const DS_PixelReadback untinted = Frame(bare, 0.0f);
  FakeLake2D lake;
  lake.maskKey = bare.maskKey;
  lake.colour.Set(0x000000FFu);  // red
  lake.horizonStrip.Set(20);
  Prepare(lake);
  const DS_PixelReadback tinted = Frame(lake, 0.0f);
  // Red rises by alpha x (255 - red): about 63 / 255 at the bottom, 26 / 255 at the horizon.
  auto gain = [&](int y) {
    const int before = Channel(untinted.At(160, y), 16);
    const int after = Channel(tinted.At(160, y), 16);
    return static_cast<float>(after - before) / static_cast<float>(255 - before);
  };
  EXPECT_NEAR(gain(kHeight - 1), 63.0f / 255.0f, 0.04f);
  EXPECT_NEAR(gain(kHorizon + 1), 26.0f / 255.0f, 0.04f);
  // The strip: 20 picture rows (25 screen rows) fading from the horizon alpha to nothing.
  EXPECT_NEAR(gain(kHorizon - 2), 26.0f / 255.0f, 0.04f);
  EXPECT_GT(gain(kHorizon - 12), 0.02f);
  EXPECT_LT(gain(kHorizon - 12), gain(kHorizon - 2));
  EXPECT_EQ(tinted.At(160, kHorizon - 30), untinted.At(160, kHorizon - 30));
}

TEST_F(LakeDevice, WithoutItsMaskTheLakeDrawsTheReflectionUndisplaced) {
  FakeLake2D flat;
  flat.tintAlpha.Set(0);
  StoreBumpMap(flat, true);
  Prepare(flat);
  const DS_PixelReadback expected = Frame(flat, 1.0f);
  FakeLake2D lake;  // a key the manager holds no mask for
  lake.tintAlpha.Set(0);
  Prepare(lake);
  EXPECT_FALSE(lake.BumpTexture());
  const DS_PixelReadback frame = Frame(lake, 1.0f);
  for (int y = kHorizon + 4; y < kHeight; y += 10)
    EXPECT_TRUE(SameColour(frame.At(100, y), expected.At(100, y), 16)) << y;
}

TEST_F(LakeDevice, WithoutItsBuffersTheLakeIsSkippedAndTheFrameRuns) {
  // Made while no device is current: no buffer, quad or picture copy could be created.
  FakeLake2D lake;
  lake.SetPictureLink(kPicture);
  g_Device = nullptr;
  lake.CreateDeviceObjects();
  s_Device->MakeCurrent();
  EXPECT_FALSE(lake.WaveMesh().vertexBuffer);
  EXPECT_FALSE(lake.TintQuad().vertexBuffer);
  EXPECT_FALSE(lake.PictureCopy());
  lake.OnDeviceReset();
  lake.Layout(kWidth, kHeight);
  const DS_PixelReadback frame = Frame(lake, 1.0f);
  // The clear of the background ran; nothing else had anything to draw.
  EXPECT_EQ(frame.At(160, 200), 0x000000u);
}

TEST_F(LakeDevice, DeviceLossAndResetWithTheLakeCurrentAndWithItBecomingCurrentAfter) {
  // Both made at scene start; the second becomes current only after the loss.
  FakeLake2D lake;
  FakeLake2D later;
  later.maskKey = lake.maskKey;
  StoreBumpMap(lake, false);
  later.SetPictureLink(kPicture);
  later.CreateDeviceObjects();
  Prepare(lake);
  const DS_PixelReadback before = Frame(lake, 2.0f);
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    // The scene's order: layers let go, then the manager; after the reset the manager, then the
    // current layer.
    lake.OnDeviceLost();
    later.OnDeviceLost();
    m_Manager->OnDeviceLost();
    ASSERT_EQ(Device()->Reset(&s_Device->PresentParameters()), D3D_OK);
    m_Manager->OnDeviceReset();
    lake.OnDeviceReset();
    lake.Layout(kWidth, kHeight);
    const DS_PixelReadback after = Frame(lake, 2.0f);
    for (int y = 0; y < kHeight; y += 7)
      for (int x = 0; x < kWidth; x += 13) ASSERT_EQ(after.At(x, y), before.At(x, y)) << x << ", " << y;
  }
  later.OnDeviceReset();
  later.Layout(kWidth, kHeight);
  const DS_PixelReadback fromLater = Frame(later, 2.0f);
  for (int y = 0; y < kHeight; y += 7)
    for (int x = 0; x < kWidth; x += 13) ASSERT_EQ(fromLater.At(x, y), before.At(x, y)) << x << ", " << y;
}

}  // namespace
