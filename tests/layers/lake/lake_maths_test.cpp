// The lake's geometry without a device: the mirrored band, the horizon strip (its guards for a
// share of 0 or less and a picture of no height), the wave mesh, the turning bump matrix and the
// tint's colour word and alphas, and the bump map computed from heights.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "core/data/media_kinds.h"
#include "layers/lake/lake_maths.h"

namespace {

// The share s from the stored value, as the layer's parameter derives it.
float Share(unsigned value) { return 0.5f - 0.005f * static_cast<float>(value); }

TEST(LakeMaths, MirrorQuadShowsTheBandAboveTheHorizonUpsideDown) {
  struct Case {
    unsigned shareValue;
    float horizon, vHorizon, vBottom;  // for a picture of height 400
  };
  const Case cases[] = {
      {25, 250.0f, 0.625f, 0.25f},  // the defaults: horizon at 0.625 H, band 0.25 H .. 0.625 H
      {0, 200.0f, 0.5f, 0.0f},      // the upper half mirrored into the lower half
      {100, 400.0f, 1.0f, 1.0f},    // no reflection
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shareValue);
    DS_LakeQuad quad;
    LakePictureQuad(300.0f, 400.0f, quad);
    MirrorQuad(quad, Share(c.shareValue));
    EXPECT_FLOAT_EQ(quad[1].y, c.horizon);
    EXPECT_FLOAT_EQ(quad[3].y, c.horizon);
    EXPECT_FLOAT_EQ(quad[0].y, 400.0f);
    EXPECT_FLOAT_EQ(quad[2].y, 400.0f);
    EXPECT_NEAR(quad[1].v, c.vHorizon, 1e-6f);
    EXPECT_NEAR(quad[3].v, c.vHorizon, 1e-6f);
    EXPECT_NEAR(quad[0].v, c.vBottom, 1e-6f);
    EXPECT_NEAR(quad[2].v, c.vBottom, 1e-6f);
    EXPECT_FLOAT_EQ(quad[0].x, 0.0f);
    EXPECT_FLOAT_EQ(quad[2].x, 300.0f);
    EXPECT_FLOAT_EQ(quad[2].u, 1.0f);
  }
}

TEST(LakeMaths, TheStripIsItsValueInPixelsAndEmptyWhereThereIsNoReflection) {
  struct Case {
    const char* name;
    unsigned strip, shareValue;
    float pictureHeight;
    int height;
  };
  const Case cases[] = {
      {"defaults", 7, 25, 400.0f, 7},
      {"half", 12, 0, 300.0f, 12},
      {"no strip", 0, 25, 400.0f, 0},
      {"share 100: s is 0", 7, 100, 400.0f, 0},
      {"share beyond 100: s below 0", 7, 180, 400.0f, 0},
      {"a picture of no height", 7, 25, 0.0f, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const float s = Share(c.shareValue);
    DS_LakeQuad quad;
    LakePictureQuad(300.0f, c.pictureHeight, quad);
    MirrorQuad(quad, s);
    EXPECT_EQ(LakeStripHeight(c.strip, quad, c.pictureHeight, s), c.height);
  }
}

TEST(LakeMaths, TheWaveMeshCoversTheMirroredQuadWithTheTiledBumpMap) {
  DS_WaveVertex vertices[6];
  InitialWaveVertices(vertices);
  EXPECT_FLOAT_EQ(vertices[1].z, 1000.0f);
  EXPECT_FLOAT_EQ(vertices[5].u1, 1.0f);
  DS_LakeQuad quad;
  LakePictureQuad(200.0f, 100.0f, quad);
  MirrorQuad(quad, Share(25));
  SetWaveMeshFromQuad(quad, vertices);
  SetWaveTiling(2.5f, vertices);
  const int corners[6] = {1, 0, 2, 1, 2, 3};
  const float bump[6][2] = {{0.01f, 0.01f}, {0.01f, 2.5f}, {2.5f, 2.5f}, {0.01f, 0.01f}, {2.5f, 2.5f}, {2.5f, 0.01f}};
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    EXPECT_FLOAT_EQ(vertices[i].x, quad[corners[i]].x);
    EXPECT_FLOAT_EQ(vertices[i].y, quad[corners[i]].y);
    EXPECT_FLOAT_EQ(vertices[i].z, 0.0f);
    EXPECT_FLOAT_EQ(vertices[i].u1, quad[corners[i]].u);
    EXPECT_FLOAT_EQ(vertices[i].v1, quad[corners[i]].v);
    EXPECT_FLOAT_EQ(vertices[i].u0, bump[i][0]);
    EXPECT_FLOAT_EQ(vertices[i].v0, bump[i][1]);
  }
}

TEST(LakeMaths, TheBumpMatrixTurnsAtFourAndAHalfRadiansPerUnitOfPhase) {
  const float phases[] = {0.0f, 0.3f, 1.0f, 7.25f};
  for (float p : phases) {
    SCOPED_TRACE(p);
    float m[4];
    LakeBumpMatrix(p, m);
    const float a = 4.5f * p;
    EXPECT_NEAR(m[0], 0.04f * std::cos(a), 1e-6f);
    EXPECT_NEAR(m[1], -0.04f * std::sin(a), 1e-6f);
    EXPECT_NEAR(m[2], 0.04f * std::sin(a), 1e-6f);
    EXPECT_NEAR(m[3], 0.04f * std::cos(a), 1e-6f);
  }
}

TEST(LakeMaths, TheTintIsTheColourInVertexOrderWithItsFadingAlphas) {
  EXPECT_EQ(LakeTintColour(0x000000FFu), 0x00FF0000u);  // red
  EXPECT_EQ(LakeTintColour(0x00408000u), 0x00008040u);  // the default
  EXPECT_EQ(LakeTintColour(0xAA123456u), 0x00563412u);  // the top byte is not a colour
  const DS_LakeAlphas alphas = LakeAlphas(31 * 0.008f, 58 * 0.01f);
  EXPECT_EQ(DS_FloatToLowByte(alphas.bottom * 255.0f), 63);
  EXPECT_EQ(DS_FloatToLowByte(alphas.horizon * 255.0f), 26);
}

TEST(LakeMaths, TheComputedBumpMapIsTheNormalOfTheHeightsSlopes) {
  constexpr int kW = 8, kH = 4;
  struct Case {
    const char* name;
    std::uint8_t (*height)(int x, int y);
    float amplitude;
    // du, dv expected at (2, 1) and at (0, 0), where the field repeats from its other edges.
    int du, dv, edgeDu, edgeDv;
  };
  const Case cases[] = {
      // Flat: the normal stands straight up.
      {"flat", [](int, int) -> std::uint8_t { return 128; }, 25.0f, 0, 0, 0, 0},
      // Rising by 10 / 255 per column: slope 25 x 10 / 255 = 0.98; x = -0.98 / 1.4 = -0.70. At the
      // left edge the columns 7 and 1 are 60 apart the other way: slope -2.94, x = 0.95.
      {"rising to the right", [](int x, int) -> std::uint8_t { return static_cast<std::uint8_t>(100 + 10 * x); }, 25.0f,
       -89, 0, 120, 0},
      // Falling downwards by 20 / 255 per row, amplitude 5: slope -0.39, y = 0.36. At the top
      // edge rows 3 and 1 differ by +40: slope 0.39 the other way.
      {"falling downwards", [](int, int y) -> std::uint8_t { return static_cast<std::uint8_t>(200 - 20 * y); }, 5.0f,
       0, 46, 0, -46},
      // No amplitude: flat whatever the heights.
      {"no amplitude", [](int x, int y) -> std::uint8_t { return static_cast<std::uint8_t>(x * 30 + y * 7); }, 0.0f, 0,
       0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::uint8_t> heights;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) heights.push_back(c.height(x, y));
    std::vector<std::int8_t> bump;
    LakeBumpFromHeights(heights.data(), kW, kH, c.amplitude, bump);
    ASSERT_EQ(bump.size(), static_cast<size_t>(kW * kH * 2));
    EXPECT_NEAR(bump[(1 * kW + 2) * 2], c.du, 1);
    EXPECT_NEAR(bump[(1 * kW + 2) * 2 + 1], c.dv, 1);
    EXPECT_NEAR(bump[0], c.edgeDu, 1);
    EXPECT_NEAR(bump[1], c.edgeDv, 1);
  }
  // Both slopes at once: the normal is normalised over the two of them.
  std::vector<std::uint8_t> diagonal;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) diagonal.push_back(static_cast<std::uint8_t>(50 + 10 * x + 10 * y));
  std::vector<std::int8_t> bump;
  LakeBumpFromHeights(diagonal.data(), kW, kH, 25.0f, bump);
  // sx = sy = 0.98: x = y = -0.98 / sqrt(2 x 0.96 + 1) = -0.57.
  EXPECT_NEAR(bump[(1 * kW + 2) * 2], -73, 1);
  EXPECT_NEAR(bump[(1 * kW + 2) * 2 + 1], -73, 1);
  // An empty field gives an empty map.
  LakeBumpFromHeights(diagonal.data(), 0, kH, 25.0f, bump);
  EXPECT_TRUE(bump.empty());
}

}  // namespace
