// The device-free arithmetic of the rendering base: fitting, the picture-position modes, the
// border quads, the screen-to-picture mapping, camera pan, grid and sprite index patterns and
// the float-to-byte conversion. Runs on the host and under Wine.
#include "core/render/layout_maths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>

namespace {

// Where a picture point lands in area space: (p + n) x s / k + fitted origin.
void PictureToArea(const DS_PictureLayout& l, float px, float py, float& ax, float& ay) {
  ax = (px + l.offsetX) * l.scaleX / l.fitRatio + l.fitted.left;
  ay = (py + l.offsetY) * l.scaleY / l.fitRatio + l.fitted.top;
}

struct ModeCase {
  const char* name;
  unsigned w, h;
  int mode;
  // Expected area rectangle of the whole picture.
  float left, top, right, bottom;
};

class PicturePositionModes : public ::testing::TestWithParam<ModeCase> {};

TEST_P(PicturePositionModes, PictureCornersLandOnTheModesRectangle) {
  const ModeCase& c = GetParam();
  const DS_PictureLayout l = ComputePictureLayout(c.w, c.h, 800.0f, 600.0f, c.mode);
  float x0, y0, x1, y1;
  PictureToArea(l, 0.0f, 0.0f, x0, y0);
  PictureToArea(l, static_cast<float>(c.w), static_cast<float>(c.h), x1, y1);
  EXPECT_NEAR(x0, c.left, 1e-3f);
  EXPECT_NEAR(y0, c.top, 1e-3f);
  EXPECT_NEAR(x1, c.right, 1e-3f);
  EXPECT_NEAR(y1, c.bottom, 1e-3f);
  // The picture centre stays at the fitted centre in every mode.
  float cx, cy;
  PictureToArea(l, c.w / 2.0f, c.h / 2.0f, cx, cy);
  EXPECT_NEAR(cx, 400.0f, 1e-3f);
  EXPECT_NEAR(cy, 300.0f, 1e-3f);
}

INSTANTIATE_TEST_SUITE_P(
    WiderAndTaller, PicturePositionModes,
    ::testing::Values(
        // 2000 x 1000 is wider than 800 x 600: fitted 800 x 400 at (0, 100).
        ModeCase{"wide_fit", 2000, 1000, kPicturePositionFit, 0, 100, 800, 500},
        ModeCase{"wide_fill", 2000, 1000, kPicturePositionFill, -200, 0, 1000, 600},
        ModeCase{"wide_stretch", 2000, 1000, kPicturePositionStretch, 0, 0, 800, 600},
        ModeCase{"wide_whole_target", 2000, 1000, kPicturePositionWholeTarget, 0, 0, 800, 600},
        // 1000 x 2000 is taller: fitted 300 x 600 at (250, 0).
        ModeCase{"tall_fit", 1000, 2000, kPicturePositionFit, 250, 0, 550, 600},
        ModeCase{"tall_fill", 1000, 2000, kPicturePositionFill, 0, -500, 800, 1100},
        ModeCase{"tall_stretch", 1000, 2000, kPicturePositionStretch, 0, 0, 800, 600},
        // An unknown mode lays out as Fit.
        ModeCase{"wide_unknown_mode", 2000, 1000, 7, 0, 100, 800, 500}),
    [](const ::testing::TestParamInfo<ModeCase>& info) { return std::string(info.param.name); });

TEST(PictureLayout, FitOfAWidePictureMatchesTheWorkedExample) {
  const DS_PictureLayout fit = ComputePictureLayout(2000, 1000, 800, 600, kPicturePositionFit);
  EXPECT_FLOAT_EQ(fit.fitted.left, 0.0f);
  EXPECT_FLOAT_EQ(fit.fitted.top, 100.0f);
  EXPECT_FLOAT_EQ(fit.fitted.width, 800.0f);
  EXPECT_FLOAT_EQ(fit.fitted.height, 400.0f);
  EXPECT_FLOAT_EQ(fit.fitRatio, 2.5f);
  EXPECT_FLOAT_EQ(fit.widthRatio, 1.0f);
  EXPECT_FLOAT_EQ(fit.heightRatio, 1.5f);
  EXPECT_FLOAT_EQ(fit.scaleX, 1.0f);
  EXPECT_FLOAT_EQ(fit.scaleY, 1.0f);
  const DS_PictureLayout fill = ComputePictureLayout(2000, 1000, 800, 600, kPicturePositionFill);
  EXPECT_FLOAT_EQ(fill.scaleX, 1.5f);
  EXPECT_FLOAT_EQ(fill.scaleY, 1.5f);
  const DS_PictureLayout stretch = ComputePictureLayout(2000, 1000, 800, 600, kPicturePositionStretch);
  EXPECT_FLOAT_EQ(stretch.scaleX, 1.0f);
  EXPECT_FLOAT_EQ(stretch.scaleY, 1.5f);
  // The taller picture fills the height: k from the heights.
  const DS_PictureLayout tall = ComputePictureLayout(1000, 2000, 800, 600, kPicturePositionFit);
  EXPECT_FLOAT_EQ(tall.fitRatio, 2000.0f / 600.0f);
}

TEST(PictureLayout, MatchingAspectNeedsNoScalingInAnyMode) {
  for (int mode = 0; mode <= 3; ++mode) {
    const DS_PictureLayout l = ComputePictureLayout(1600, 1200, 800, 600, mode);
    EXPECT_FLOAT_EQ(l.scaleX, 1.0f) << mode;
    EXPECT_FLOAT_EQ(l.scaleY, 1.0f) << mode;
    EXPECT_FLOAT_EQ(l.fitted.top, 0.0f) << mode;
    EXPECT_FLOAT_EQ(l.fitted.left, 0.0f) << mode;
  }
}

TEST(PictureLayout, FitPictureRectPlacesBarsOnTheRightAxis) {
  const DS_FittedRect wide = FitPictureRect(100, 50, 800, 600);
  EXPECT_FLOAT_EQ(wide.left, 0.0f);
  EXPECT_FLOAT_EQ(wide.left + wide.width, 800.0f);
  EXPECT_FLOAT_EQ(wide.top, 100.0f);
  EXPECT_FLOAT_EQ(wide.top + wide.height, 500.0f);
  const DS_FittedRect tall = FitPictureRect(50, 100, 800, 600);
  EXPECT_FLOAT_EQ(tall.left, 250.0f);
  EXPECT_FLOAT_EQ(tall.left + tall.width, 550.0f);
  EXPECT_FLOAT_EQ(tall.top, 0.0f);
  EXPECT_FLOAT_EQ(tall.top + tall.height, 600.0f);
}

// A picture that failed to decode is 0 x 0: the layout stays finite (that of a 1 x 1 picture).
TEST(PictureLayout, ZeroSizedPictureOrAreaGivesFiniteValues) {
  const struct {
    unsigned w, h;
    float a, b;
  } cases[] = {{0, 0, 800, 600}, {0, 100, 800, 600}, {100, 0, 800, 600}, {100, 50, 0, 0}};
  for (const auto& c : cases) {
    for (int mode = 0; mode <= 3; ++mode) {
      const DS_PictureLayout l = ComputePictureLayout(c.w, c.h, c.a, c.b, mode);
      const float values[] = {l.fitted.left, l.fitted.top, l.fitted.width, l.fitted.height, l.fitRatio,
                              l.widthRatio, l.heightRatio, l.scaleX, l.scaleY, l.offsetX, l.offsetY};
      for (float v : values) EXPECT_TRUE(std::isfinite(v)) << c.w << "x" << c.h << " mode " << mode;
      EXPECT_GT(l.fitRatio, 0.0f);
    }
  }
}

TEST(BorderQuads, FrameThePictureWithFiveHundredPixelsInStripOrder) {
  DS_QuadCorners2 q[4];
  BorderQuadCorners(200.0f, 100.0f, q);
  const float expected[4][4][2] = {
      {{-500, 100}, {-500, 0}, {0, 100}, {0, 0}},        // left
      {{200, 100}, {200, 0}, {700, 100}, {700, 0}},      // right
      {{-500, 0}, {-500, -500}, {700, 0}, {700, -500}},  // top
      {{-500, 600}, {-500, 100}, {700, 600}, {700, 100}},  // bottom
  };
  for (int b = 0; b < 4; ++b)
    for (int i = 0; i < 4; ++i) {
      EXPECT_FLOAT_EQ(q[b][i].x, expected[b][i][0]) << b << "," << i;
      EXPECT_FLOAT_EQ(q[b][i].y, expected[b][i][1]) << b << "," << i;
    }
}

TEST(QuadCorners, StripOrderIsLeftBottomLeftTopRightBottomRightTop) {
  DS_QuadCorners2 c;
  RectangleCorners(10, 20, 30, 40, c);
  const float expected[4][2] = {{10, 60}, {10, 20}, {40, 60}, {40, 20}};
  const float uv[4][2] = {{0, 1}, {0, 0}, {1, 1}, {1, 0}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_FLOAT_EQ(c[i].x, expected[i][0]);
    EXPECT_FLOAT_EQ(c[i].y, expected[i][1]);
    EXPECT_FLOAT_EQ(kUnitQuadTexCoords[i].x, uv[i][0]);
    EXPECT_FLOAT_EQ(kUnitQuadTexCoords[i].y, uv[i][1]);
  }
}

// The back-buffer to picture mapping inverts the layout in every mode, also when the back
// buffer is larger than the layer (the mapped quad is in back-buffer pixels).
TEST(ScreenToPicture, InvertsTheLayoutOfEveryMode) {
  const struct {
    unsigned w, h;
  } pictures[] = {{2000, 1000}, {1000, 2000}, {640, 480}};
  const float backBufferScale[] = {1.0f, 2.0f};
  for (const auto& p : pictures)
    for (int mode = 0; mode <= 2; ++mode)
      for (float bb : backBufferScale) {
        const DS_PictureLayout l = ComputePictureLayout(p.w, p.h, 800, 600, mode);
        DS_ScreenToPicture m{};
        m.leftX = l.fitted.left * bb;
        m.rightX = (l.fitted.left + l.fitted.width) * bb;
        m.topY = l.fitted.top * bb;
        m.bottomY = (l.fitted.top + l.fitted.height) * bb;
        m.inverseScaleX = 1.0f / l.scaleX;
        m.inverseScaleY = 1.0f / l.scaleY;
        m.offsetX = l.offsetX;
        m.offsetY = l.offsetY;
        m.zoom = 1.0f;
        m.pictureWidth = static_cast<int>(p.w);
        m.pictureHeight = static_cast<int>(p.h);
        const float points[][2] = {{0, 0}, {p.w * 0.25f, p.h * 0.75f}, {p.w * 0.9f, p.h * 0.1f}};
        for (const auto& pt : points) {
          float ax, ay, px, py;
          PictureToArea(l, pt[0], pt[1], ax, ay);
          MapPointToPicture(m, ax * bb, ay * bb, px, py);
          EXPECT_NEAR(px, pt[0], 0.05f) << p.w << "x" << p.h << " mode " << mode << " bb " << bb;
          EXPECT_NEAR(py, pt[1], 0.05f) << p.w << "x" << p.h << " mode " << mode << " bb " << bb;
        }
      }
}

TEST(ScreenToPicture, UnitQuadBeforeAnyLayoutDoesNotDivideByZero) {
  DS_ScreenToPicture m{};
  m.inverseScaleX = m.inverseScaleY = m.zoom = 1.0f;
  float x, y;
  MapPointToPicture(m, 50, 60, x, y);
  EXPECT_TRUE(std::isfinite(x));
  EXPECT_TRUE(std::isfinite(y));
}

TEST(Camera, PanKeepsItsPointInPlaceAndZoomOneIsIdentity) {
  const float w = 1000, h = 500;
  for (float pan : {-1.0f, 0.0f, 0.5f, 1.0f}) {
    float tx, ty;
    CameraTranslation(1.0f, pan, pan, w, h, tx, ty);
    EXPECT_FLOAT_EQ(tx, 0.0f);
    EXPECT_FLOAT_EQ(ty, 0.0f);
    CameraTranslation(1.2f, pan, pan, w, h, tx, ty);
    const float fixedX = (pan + 1.0f) / 2.0f * w, fixedY = (pan + 1.0f) / 2.0f * h;
    EXPECT_NEAR((fixedX + tx) * 1.2f, fixedX, 1e-2f) << pan;
    EXPECT_NEAR((fixedY + ty) * 1.2f, fixedY, 1e-2f) << pan;
  }
  // A stored zoom of 0 (or below) is no zoom rather than an infinite matrix.
  float tx, ty;
  CameraTranslation(0.0f, 0.3f, -0.3f, w, h, tx, ty);
  EXPECT_FLOAT_EQ(tx, 0.0f);
  EXPECT_FLOAT_EQ(ty, 0.0f);
  EXPECT_FLOAT_EQ(CameraZoomFactor(-2.0f), 1.0f);
}

TEST(GridIndices, EightByEightCellsOverNineByNineVertices) {
  std::uint16_t idx[kGridIndexCount];
  FillGridIndices8x8(idx);
  EXPECT_EQ(kGridIndexCount, 384);
  const std::uint16_t first[6] = {0, 1, 9, 9, 1, 10};
  for (int k = 0; k < 6; ++k) EXPECT_EQ(idx[k], first[k]);
  // Cell (r, c) starts at 6 (8 r + c) with a = 9 r + c.
  EXPECT_EQ(idx[6 * (8 * 3 + 5)], 9 * 3 + 5);
  EXPECT_EQ(idx[6 * (8 * 3 + 5) + 5], 9 * 3 + 5 + 10);
  EXPECT_EQ(idx[kGridIndexCount - 1], 80);
  std::set<int> used(idx, idx + kGridIndexCount);
  EXPECT_EQ(used.size(), 81u);
}

TEST(GridVertices, InterpolateTheFourCornersTextureCoordinatesIncluded) {
  const DX_V::PT c[4] = {{0, 100, 0, 0, 1}, {0, 0, 0, 0, 0}, {200, 100, 0, 1, 1}, {200, 0, 0, 1, 0}};
  DX_V::PT one[4];
  ComputeGridVerticesPT(1, 1, c, one);
  for (int i = 0; i < 4; ++i) {
    EXPECT_FLOAT_EQ(one[i].x, c[i].x);
    EXPECT_FLOAT_EQ(one[i].y, c[i].y);
    EXPECT_FLOAT_EQ(one[i].u, c[i].u);
    EXPECT_FLOAT_EQ(one[i].v, c[i].v);
  }
  DX_V::PT grid[81];
  ComputeGridVerticesPT(8, 8, c, grid);
  // i runs from the c0-c1 side (here upwards), j from c0 towards c2 (rightwards).
  const DX_V::PT& v = grid[2 + 9 * 6];
  EXPECT_FLOAT_EQ(v.x, 200.0f * 6 / 8);
  EXPECT_FLOAT_EQ(v.y, 100.0f - 100.0f * 2 / 8);
  EXPECT_FLOAT_EQ(v.u, 6.0f / 8);
  EXPECT_FLOAT_EQ(v.v, 1.0f - 2.0f / 8);
}

TEST(SpriteChunks, SplitAtSixteenThousandThreeHundredEightyThree) {
  const struct {
    int n;
    std::vector<int> chunks;
  } cases[] = {{0, {0}}, {1, {1}}, {16383, {16383, 0}}, {16384, {16383, 1}}, {40000, {16383, 16383, 7234}},
               {32766, {16383, 16383, 0}}};
  for (const auto& c : cases) {
    ASSERT_EQ(SpriteChunkCount(c.n), static_cast<int>(c.chunks.size())) << c.n;
    for (size_t j = 0; j < c.chunks.size(); ++j) EXPECT_EQ(SpritesInChunk(c.n, static_cast<int>(j)), c.chunks[j]);
  }
  std::uint16_t six[6];
  SpriteIndices(kSpritesPerChunk - 1, six);
  const int base = 4 * (kSpritesPerChunk - 1);
  const int expected[6] = {base, base + 1, base + 2, base + 2, base + 1, base + 3};
  for (int k = 0; k < 6; ++k) EXPECT_EQ(six[k], expected[k]);
  EXPECT_LT(base + 3, 65536);
}

TEST(FloatToByte, NanAndOutOfRangeValuesAreDefined) {
  const float inf = std::numeric_limits<float>::infinity();
  const struct {
    float value;
    int byte;
  } cases[] = {{std::numeric_limits<float>::quiet_NaN(), 0},
               {inf, 0xFF},
               {-inf, 0x00},
               {1e12f, 0xFF},
               {-2.55f, 0xFE},
               {382.5f, 126},
               {255.0f, 255},
               {127.5f, 127},
               {0.0f, 0}};
  for (const auto& c : cases) EXPECT_EQ(TruncateToLowByte(c.value), c.byte) << c.value;
  EXPECT_EQ(TruncateToInt(-inf), std::numeric_limits<std::int32_t>::min());
}

// The pixels a picture rectangle can cover on a 128 x 64 viewport at (10, 20), through a matrix
// that maps picture space (0..256, 0..128) onto it (x' = x / 128 - 1, y' = 1 - y / 64).
TEST(PixelBoundsOfRectangle, TheCornersOnScreenWidenedByAPixelAndCutToTheViewport) {
  const float onto[16] = {1.0f / 128, 0, 0, 0, 0, -1.0f / 64, 0, 0, 0, 0, 1, 0, -1, 1, 0.5f, 1};
  const DS_PixelBox viewport{10, 20, 138, 84};
  const struct {
    const char* what;
    float x0, y0, x1, y1;
    DS_PixelBox expected;
  } cases[] = {
      {"a part inside", 40, 40, 80, 60, {29, 39, 52, 52}},
      {"the whole picture", 0, 0, 256, 128, {10, 20, 138, 84}},
      {"reaching past the edge", 150, -50, 400, 20, {84, 20, 138, 32}},
      {"wholly outside", 300, 0, 400, 10, {138, 20, 138, 27}},
  };
  for (const auto& c : cases) {
    DS_PixelBox out;
    ASSERT_TRUE(PixelBoundsOfRectangle(onto, c.x0, c.y0, c.x1, c.y1, viewport, out)) << c.what;
    EXPECT_EQ(out.left, c.expected.left) << c.what;
    EXPECT_EQ(out.top, c.expected.top) << c.what;
    EXPECT_EQ(out.right, c.expected.right) << c.what;
    EXPECT_EQ(out.bottom, c.expected.bottom) << c.what;
  }
  DS_PixelBox out;
  EXPECT_TRUE(PixelBoundsOfRectangle(onto, 300, 0, 400, 10, viewport, out) && out.Empty());
  // A corner behind the eye (w <= 0) or beyond the depth range cannot be bounded by the corners.
  float behind[16];
  std::copy(onto, onto + 16, behind);
  behind[15] = -1;
  EXPECT_FALSE(PixelBoundsOfRectangle(behind, 40, 40, 80, 60, viewport, out));
  float far[16];
  std::copy(onto, onto + 16, far);
  far[14] = 2;
  EXPECT_FALSE(PixelBoundsOfRectangle(far, 40, 40, 80, 60, viewport, out));
}

}  // namespace
