// The lake's geometry without a device: the mirrored band, the horizon strip (its guards for a
// share of 0 or less and a picture of no height), the wave mesh, the turning bump matrix and the
// tint's colour word and alphas.
#include <gtest/gtest.h>

#include <cmath>

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

}  // namespace
