// The lake layer on a real device: above the horizon the plain picture, below it the band above
// the horizon upside down, displaced by the bump map so that it moves from frame to frame, under
// a tint that is strongest at the bottom; the bump map the document holds, or one computed from
// the program's wave heights where it holds none; and device loss and reset, with the lake
// current and with it becoming current after the loss.
#include <d3dx9.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "layers/lake/fake_lake_2d.h"
#include "tests/support/layer_fixture.h"

namespace {

using Texture = DS_ComHolder<IDirect3DTexture9>;
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

  // The bump map the document would hold, made on the device as V8U8, du and dv from fixed
  // noise or 0, under the layer's key.
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

  // Pixels of rows [top, bottom) (every second one) that differ between two frames.
  static int CountMovedPixels(const DS_PixelReadback& first, const DS_PixelReadback& second, int top, int bottom) {
    int moved = 0;
    for (int y = top; y < bottom; y += 2)
      for (int x = 0; x < kWidth; x += 2)
        if (!SameColour(first.At(x, y), second.At(x, y), 4)) ++moved;
    return moved;
  }

  // The largest |du| or |dv| of a V8U8 map in rows [top, bottom).
  static int LargestSlope(const Texture& bump, int top, int bottom) {
    D3DLOCKED_RECT r;
    if (FAILED(bump->LockRect(0, &r, nullptr, D3DLOCK_READONLY))) return -1;
    D3DSURFACE_DESC desc{};
    bump->GetLevelDesc(0, &desc);
    int largest = 0;
    for (int y = top; y < bottom; ++y)
      for (UINT x = 0; x < desc.Width; ++x)
        for (int c = 0; c < 2; ++c)
          largest = std::max(largest, std::abs(static_cast<const std::int8_t*>(r.pBits)[y * r.Pitch + 2 * x + c]));
    bump->UnlockRect(0);
    return largest;
  }
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
  EXPECT_EQ(CountMovedPixels(first, second, 0, kHorizon - 12), 0);
  EXPECT_GT(CountMovedPixels(first, second, kHorizon - 12, kHeight), 200);
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

TEST_F(LakeDevice, WithoutItsMaskTheLakeRipplesWithABumpMapOfTheProgramsWaveHeights) {
  FakeLake2D lake;  // a key the manager holds no mask for
  Prepare(lake);
  ASSERT_TRUE(lake.BumpTexture());
  D3DSURFACE_DESC desc{};
  lake.BumpTexture()->GetLevelDesc(0, &desc);
  EXPECT_EQ(desc.Format, D3DFMT_V8U8);
  EXPECT_EQ(desc.Pool, D3DPOOL_MANAGED);
  EXPECT_EQ(desc.Width, 256u);  // the wave picture's size
  EXPECT_EQ(desc.Height, 256u);
  const DS_PixelReadback first = Frame(lake, 0.5f);
  const DS_PixelReadback second = Frame(lake, 0.7f);
  EXPECT_EQ(CountMovedPixels(first, second, 0, kHorizon - 12), 0);
  EXPECT_GT(CountMovedPixels(first, second, kHorizon, kHeight), 200);

  // The fade and the amplitude shape the map: with the full fade its top rows (at the horizon)
  // are flat grey, without it they slope as the rows further down; no amplitude, no slope. (Row
  // 0 is left out: its neighbour above is the bottom row, as the map repeats.)
  struct Case {
    const char* name;
    unsigned fade, amplitude;
    bool topSlopes, bottomSlopes;
  };
  const Case cases[] = {
      {"full fade", 100, 25, false, true},
      {"no fade", 0, 25, true, true},
      {"no amplitude", 100, 0, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeLake2D shaped;
    shaped.bumpFade.Set(c.fade);
    shaped.bumpAmplitude.Set(c.amplitude);
    Prepare(shaped);
    ASSERT_TRUE(shaped.BumpTexture());
    EXPECT_EQ(LargestSlope(shaped.BumpTexture(), 1, 8) > 20, c.topSlopes) << LargestSlope(shaped.BumpTexture(), 1, 8);
    EXPECT_EQ(LargestSlope(shaped.BumpTexture(), 192, 256) > 20, c.bottomSlopes)
        << LargestSlope(shaped.BumpTexture(), 192, 256);
  }
}

TEST_F(LakeDevice, WithoutMaskOrWaveHeightsTheReflectionIsDrawnUndisplaced) {
  FakeLake2D flat;
  flat.tintAlpha.Set(0);
  StoreBumpMap(flat, true);
  Prepare(flat);
  const DS_PixelReadback expected = Frame(flat, 1.0f);
  FakeLake2D lake;  // no mask, and no cache to find the wave heights in
  lake.tintAlpha.Set(0);
  DS_ResourceCacheHolder* const cache = g_ResourceCache;
  g_ResourceCache = nullptr;
  Prepare(lake);
  g_ResourceCache = cache;
  EXPECT_FALSE(lake.BumpTexture());
  const DS_PixelReadback frame = Frame(lake, 1.0f);
  for (int y = kHorizon + 4; y < kHeight; y += 10)
    EXPECT_TRUE(SameColour(frame.At(100, y), expected.At(100, y), 16)) << y;
}

TEST_F(LakeDevice, TheDocumentsBumpMapIsKeptAndAComputedOneOnlyWhereItHasNone) {
  FakeLake2D masked;
  StoreBumpMap(masked, false);
  IDirect3DTexture9* const mask = m_Manager->GetMaskTexture(masked.maskKey);
  FakeLake2D bare;
  EXPECT_EQ(masked.keepBumpMap, 1);
  EXPECT_EQ(bare.keepBumpMap, 1);
  for (int creation = 1; creation <= 2; ++creation) {
    SCOPED_TRACE(creation);
    const Texture before = bare.BumpTexture();
    Prepare(masked);
    Prepare(bare);
    EXPECT_EQ(masked.keepBumpMap, 0);
    EXPECT_EQ(bare.keepBumpMap, 0);
    // The document's map on every creation (a map computed on the second is replaced by it).
    EXPECT_EQ(masked.BumpTexture().Get(), mask);
    // Without one, each creation computes a fresh map and keeps it.
    ASSERT_TRUE(bare.BumpTexture());
    EXPECT_NE(bare.BumpTexture().Get(), mask);
    EXPECT_NE(bare.BumpTexture().Get(), before.Get());
  }
  // Writing the layer stores its map as the document's mask for its key.
  FakeLake2D written;
  Prepare(written);
  ASSERT_TRUE(written.BumpTexture());
  DS_IOF_ByteWriter out;
  written.Write(out);
  EXPECT_EQ(m_Manager->GetMaskTexture(written.maskKey), written.BumpTexture().Get());
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
