// Pictures laid out on the device in Fit, Fill and Stretch land where the layout says, with the
// borders filling the bars; a picture that failed to decode draws nothing.
#include <d3dx9.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/render/quads.h"
#include "core/render/view_state.h"
#include "tests/core/render/render_device_fixture.h"

namespace render_test {
namespace {

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

}  // namespace
}  // namespace render_test
