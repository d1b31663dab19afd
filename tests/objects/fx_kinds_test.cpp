// The explosion's cycle, noise offsets and effect inputs, and the static text's fading and
// alignment, on the host (and under Wine): the arithmetic that a stored record can break.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "objects/explosion/ds_explosion_constructor.h"
#include "objects/static_text/ds_static_text_constructor.h"
#include "tests/objects/particle_test_support.h"

namespace {

// Runs one update of `set` on a particle at `ms` of the cycle (no frame time added).
template <class Set>
DS_Particle UpdateAt(Set& set, float ms) {
  DS_Particle p(set, 1.0f);
  set.timeStep.frameTime = 0.0f;
  set.elapsed = ms;
  set.UpdateParticle(p);
  return p;
}

DS_ExplosionConstructor Explosion(uint32_t delay, uint32_t grow, uint32_t hold, uint32_t fade, uint32_t pause) {
  DS_ExplosionConstructor set;
  set.startDelay.Set(delay);
  set.growTime.Set(grow);
  set.holdTime.Set(hold);
  set.fadeTime.Set(fade);
  set.pauseTime.Set(pause);
  set.centre.Set(DS_Vector3{200.0f, 150.0f, 0.0f});
  return set;
}

TEST(ExplosionCycle, SizeFadeAndPhasesThroughOneCycle) {
  const struct {
    float ms;
    float half;      // half width and height
    float phase1;    // "phase_1st"
    float phase3;    // "phase_3rd".x
    float elapsed;   // after the update
  } cases[] = {
      {250, 0.0f, 2.5f, 0.0f, 250},             // start delay: nothing drawn
      {750, 125 * 0.4375f, 1.5f, 0.0f, 750},    // growing
      {1500, 125.0f, 0.0f, 0.0f, 1500},         // holding at full size
      {2750, 125.0f, 0.0f, 0.25f, 2750},        // fading
      {3700, 0.0f, 0.0f, 1.2f, 3700},           // pause
      {4100, 0.0f, 2.0f * 1.5f, 0.0f, 0},       // past the pause: the cycle starts again
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ms);
    DS_ExplosionConstructor set = Explosion(500, 1000, 1000, 1000, 500);
    const DS_Particle p = UpdateAt(set, c.ms);
    EXPECT_FLOAT_EQ(p.halfWidth, c.half);
    EXPECT_FLOAT_EQ(p.halfHeight, c.half);
    EXPECT_FLOAT_EQ(p.position.x, 200.0f);
    EXPECT_FLOAT_EQ(set.elapsed, c.elapsed);
    const DS_ExplosionConstructor::ShaderInputs in = set.ComputeShaderInputs();
    EXPECT_NEAR(in.phase1, c.phase1, 1e-5);
    EXPECT_NEAR(in.phase3[0], c.phase3, 1e-5);
    EXPECT_NEAR(in.phase3[1], 1.0f - c.phase3, 1e-5);
  }
}

TEST(ExplosionCycle, TheFadeRisesWithinTheFirstFifthOfTheGrowth) {
  DS_ExplosionConstructor set = Explosion(0, 1000, 0, 0, 0);
  set.transparency.Set(0);  // opacity 255
  EXPECT_EQ(UpdateAt(set, 100).colour >> 24, 127u);  // fade 0.5
  EXPECT_EQ(UpdateAt(set, 300).colour >> 24, 255u);  // capped at 1
}

TEST(ExplosionCycle, ZeroGrowAndFadeTimesAreInstantSteps) {
  DS_ExplosionConstructor set = Explosion(500, 0, 1000, 0, 500);
  set.transparency.Set(0);
  const DS_Particle during = UpdateAt(set, 200);  // still in the delay
  EXPECT_FLOAT_EQ(during.halfWidth, 0.0f);
  EXPECT_EQ(during.colour >> 24, 255u);  // no fade of minus infinity
  EXPECT_FLOAT_EQ(set.ComputeShaderInputs().phase1, 0.0f);

  const DS_Particle grown = UpdateAt(set, 500);  // full size at once
  EXPECT_FLOAT_EQ(grown.halfWidth, 125.0f);

  UpdateAt(set, 1700);  // after the hold: fully faded at once
  const DS_ExplosionConstructor::ShaderInputs in = set.ComputeShaderInputs();
  EXPECT_FLOAT_EQ(in.phase3[0], 1.0f);
  EXPECT_FLOAT_EQ(in.phase3[1], 0.0f);
}

TEST(ExplosionCycle, FrameTimesAboveATenthOfASecondCountAsATenth) {
  DS_ExplosionConstructor set = Explosion(0, 1000, 1000, 1000, 0);
  DS_Particle p(set, 1.0f);
  set.Step(1.0f);
  set.Step(1.5f);
  set.UpdateParticle(p);
  EXPECT_FLOAT_EQ(set.elapsed, 100.0f);
}

// The pairs the seed starts: pair k is the k-th two draws after srand(seed).
std::vector<std::pair<float, float>> SeededPairs(unsigned seed, int n) {
  std::srand(seed);
  std::vector<std::pair<float, float>> pairs;
  for (int i = 0; i < n; ++i) {
    const float a = static_cast<float>(std::rand()) / 32767.0f;
    pairs.emplace_back(a, static_cast<float>(std::rand()) / 32767.0f);
  }
  return pairs;
}

TEST(ExplosionNoise, WithRandomNoiseOffTheOffsetsReplayTheSeedAfterEveryRestart) {
  const auto expected = SeededPairs(4242, 3);
  DS_ExplosionConstructor set = Explosion(0, 100, 100, 100, 100);
  set.seed.Set(4242);
  set.randomNoise.Set(0);
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    set.Restart();
    for (int k = 0; k < 3; ++k) {
      std::rand();  // other draws of the shared generator in between change nothing
      set.NextRandomPair();
      EXPECT_FLOAT_EQ(set.currentShift[0], expected[static_cast<size_t>(k)].first) << k;
      EXPECT_FLOAT_EQ(set.currentShift[1], expected[static_cast<size_t>(k)].second) << k;
    }
  }
}

TEST(ExplosionNoise, WithRandomNoiseOnTheOffsetsAreFresh) {
  std::srand(7);
  DS_ExplosionConstructor a = Explosion(0, 100, 100, 100, 100), b = a;
  a.randomNoise.Set(1);
  b.randomNoise.Set(1);
  a.NextRandomPair();
  b.NextRandomPair();
  EXPECT_NE(a.currentShift[0], b.currentShift[0]);
}

TEST(ExplosionNoise, TheOffsetMovesOnAtEachWholeUnitOfPhaseAndDriftsAlongTheDirection) {
  DS_ExplosionConstructor set = Explosion(0, 1000, 1000, 1000, 1000);
  set.seed.Set(99);
  set.direction.Set(90);
  set.direction.UpdateAxes();
  const auto pairs = SeededPairs(99, 2);
  DS_Particle p(set, 1.0f);
  float t = 0.0f;
  // Speed 100 advances the phase by two units a second; stop just past phase 1.
  while (set.Phase() <= 1.0f) {
    t += 0.05f;
    set.Step(t);
    set.UpdateParticle(p);
  }
  const DS_ExplosionConstructor::ShaderInputs in = set.ComputeShaderInputs();
  EXPECT_EQ(set.lastSecond, 1.0f);
  EXPECT_FLOAT_EQ(set.currentShift[0], pairs[0].first);  // pair 1 after the (implicit) start
  EXPECT_GT(set.DriftPhase(), 0.0f);
  EXPECT_NEAR(in.noiseShift[2], set.currentShift[0], 1e-5);  // x axis (0, 1): no drift in x
  EXPECT_NEAR(in.noiseShift[3], set.currentShift[1] + set.DriftPhase(), 1e-5);
  EXPECT_NEAR(in.time[0] + in.time[1], 1.0f, 1e-6);
}

TEST(ExplosionInputs, ColourWordsGiveRedGreenBlueFromTheLowestByte) {
  DS_ExplosionConstructor set;
  set.colour.Set(0x000000FFu);
  set.colour2.Set(0x00FF8000u);
  const DS_ExplosionConstructor::ShaderInputs in = set.ComputeShaderInputs();
  EXPECT_FLOAT_EQ(in.color1[0], 1.0f);
  EXPECT_FLOAT_EQ(in.color1[1], 0.0f);
  EXPECT_FLOAT_EQ(in.color2[1], 128.0f / 255.0f);
  EXPECT_FLOAT_EQ(in.color2[2], 1.0f);
  EXPECT_FLOAT_EQ(in.noiseParams[0], 0.79f);
  EXPECT_FLOAT_EQ(in.noiseParams[2], 0.42f);
}

TEST(ExplosionRecord, ScaledValuesFollowAndTheCopyTurnsTheAxes) {
  TestBytes b;
  b.U32(30).U32(15).U32(42).U32(90).U32(100);
  for (uint32_t v : {1000u, 2000u, 3000u, 400u, 500u, 77u}) b.U32(v);
  b.I32(0).U32(0x00102030);
  DS_ExplosionConstructor set;
  TestBytes own = b;
  ResourceBuffer buffer(own.bytes.data(), own.bytes.size());
  DS_DocumentReader reader(&buffer);
  set.ReadOwnFields(reader);
  EXPECT_EQ(buffer.Remaining(), 0u);
  EXPECT_FLOAT_EQ(set.noiseA.Derived(), 0.7f);
  EXPECT_FLOAT_EQ(set.noiseDrift.Derived(), 0.5f);
  EXPECT_EQ(set.startDelay.Get(), 400u);
  EXPECT_EQ(set.seed.Get(), 77u);
  EXPECT_EQ(set.colour2.Get(), 0x00102030u);
  EXPECT_FLOAT_EQ(set.direction.XAxis().x, 1.0f);  // the reader keeps the old axes
  const DS_ExplosionConstructor copy(set);
  EXPECT_NEAR(copy.direction.XAxis().x, 0.0f, 1e-6);
  EXPECT_NEAR(copy.direction.XAxis().y, 1.0f, 1e-6);
  DS_IOF_ByteWriter out;
  copy.WriteOwnFields(out);
  EXPECT_EQ(out.TakeBytes(), b.bytes);
}

DS_StaticTextConstructor Text(uint32_t delay, uint32_t in, uint32_t hold, uint32_t out) {
  DS_StaticTextConstructor set;
  set.delay.Set(delay);
  set.fadeIn.Set(in);
  set.hold.Set(hold);
  set.fadeOut.Set(out);
  set.boxWidth.Set(200);
  set.boxHeight.Set(40);
  set.centre.Set(DS_Vector3{160.0f, 120.0f, 0.0f});
  return set;
}

TEST(StaticTextFading, TheOpacityFollowsTheFourTimes) {
  const struct {
    uint32_t fadeOut;
    float ms, alpha;
    uint32_t alphaByte;
    float elapsedAfter;
  } cases[] = {
      {500, 500, 0.0f, 0, 500},       {500, 1250, 0.5f, 128, 1250}, {500, 2000, 1.0f, 255, 2000},
      {500, 3750, 0.5f, 128, 3750},   {500, 4000, 0.5f, 128, 0},    // the cycle restarts, the opacity stays
      {1000, 3750, 0.75f, 191, 3750}, {1000, 4499, 0.001f, 0, 4499},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.fadeOut << " / " << c.ms);
    DS_StaticTextConstructor set = Text(1000, 500, 2000, c.fadeOut);
    set.alpha = 0.5f;
    const DS_Particle p = UpdateAt(set, c.ms);
    EXPECT_NEAR(set.alpha, c.alpha, 1e-4);
    EXPECT_EQ(DS_StaticTextConstructor::AlphaByte(set.alpha), c.alphaByte);
    EXPECT_FLOAT_EQ(set.elapsed, c.elapsedAfter);
    EXPECT_FLOAT_EQ(p.halfWidth, 100.0f);
    EXPECT_FLOAT_EQ(p.halfHeight, 20.0f);
    EXPECT_FLOAT_EQ(p.position.y, 120.0f);
  }
}

TEST(StaticTextFading, ZeroFadeTimesStepAndRestartGoesBackToTheDelay) {
  DS_StaticTextConstructor set = Text(1000, 0, 2000, 0);
  UpdateAt(set, 1000);
  EXPECT_FLOAT_EQ(set.alpha, 1.0f);
  UpdateAt(set, 3000);  // the end: a new cycle, no division by the zero fade-out
  EXPECT_FLOAT_EQ(set.elapsed, 0.0f);
  EXPECT_TRUE(std::isfinite(set.alpha));

  set.elapsed = 1500;  // holding
  set.Restart();
  DS_Particle p(set, 1.0f);
  set.UpdateParticle(p);
  EXPECT_FLOAT_EQ(set.alpha, 0.0f);
}

TEST(StaticTextFading, OpacityToAlphaByte) {
  const struct {
    float opacity;
    uint32_t byte;
  } cases[] = {{1.5f, 255}, {1.0f, 255}, {0.5f, 128}, {0.0f, 0}, {-0.2f, 0}, {NAN, 0}};
  for (const auto& c : cases) EXPECT_EQ(DS_StaticTextConstructor::AlphaByte(c.opacity), c.byte) << c.opacity;
}

TEST(StaticTextAlignment, TheAlignmentsGiveTheDrawTextFormat) {
  const struct {
    int32_t horizontal, vertical, flags;
  } cases[] = {{0, 0, 0}, {1, 2, 9}, {2, 1, 6}, {5, 0, 0}, {-1, 7, 0}};
  for (const auto& c : cases) {
    DS_StaticTextConstructor set;
    set.horizontalAlign.Set(c.horizontal);
    set.verticalAlign.Set(c.vertical);
    EXPECT_EQ(set.AlignmentFlags(), c.flags) << c.horizontal << ", " << c.vertical;
  }
}

TEST(StaticTextRecord, OwnFieldsReadBackToTheirBytes) {
  TestBytes b;
  b.I32(2).I32(1).Str(u"Storm over the hills");
  b.I32(40).U32(400).I32(1).Str(u"Times New Roman");
  b.U32(500).U32(600).U32(3000).U32(250);
  DS_StaticTextConstructor set;
  ASSERT_TRUE(ReadsWhole(b.bytes, [&](DS_IOF_Virtual& in) { set.ReadOwnFields(in); }));
  EXPECT_EQ(set.text.Get(), u"Storm over the hills");
  EXPECT_EQ(set.font.height, 40);
  EXPECT_EQ(set.font.faceName, u"Times New Roman");
  EXPECT_EQ(set.fadeOut.Get(), 600u);
  EXPECT_EQ(set.delay.Get(), 250u);
  EXPECT_EQ(set.colour.Get(), 0x000000FFu);  // the kind's default sprite colour
  DS_IOF_ByteWriter out;
  set.WriteOwnFields(out);
  EXPECT_EQ(out.TakeBytes(), b.bytes);
}


TEST(StaticTextRecord, AnEmptyStoredFaceKeepsTheFaceBefore) {
  const struct {
    const char16_t* stored;
    const char16_t* expected;
  } cases[] = {{u"", u"Courier New"}, {u"Verdana", u"Verdana"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(DsToUtf8(c.stored));
    TestBytes b;
    b.I32(0).I32(0).Str(u"x").I32(20).U32(400).I32(0).Str(c.stored).U32(0).U32(0).U32(0).U32(0);
    DS_StaticTextConstructor set;
    set.font.faceName = u"Courier New";
    ASSERT_TRUE(ReadsWhole(b.bytes, [&](DS_IOF_Virtual& in) { set.ReadOwnFields(in); }));
    EXPECT_EQ(set.font.faceName, c.expected);
    EXPECT_EQ(set.font.height, 20);
  }
}

}  // namespace
