// The shader-drawn discharge's parameter set on the host (and under Wine): its record and
// defaults, the glow colour it hands the effect, and the chain it makes of its particles - the
// segments along the path, the blend towards each new path, the picture halves and tips, a
// discharge whose ends meet and a count lowered under the particles made.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "core/data/class_registry.h"
#include "objects/discharge_fx/ds_discharge_fx_constructor.h"
#include "tests/objects/particle_test_support.h"

namespace {

// A record with a value of its own in every field of the discharge and glow parts.
TestBytes DischargeRecord(uint32_t nestedVersion = 1) {
  TestBytes b;
  b.Header(u"DS_DischargeFXConstructor", 1);
  b.F32(10).F32(20).F32(0).F32(300).F32(40).F32(0);
  b.U32(30).I32(0).U32(0).U32(20);  // jitter, texture choice, flicker, morph
  b.Header(u"DS_GlowEffectCtrl", nestedVersion).U32(0x00112233).U32(40);
  b.Header(u"DS_FXParticleSystemCtrl", nestedVersion).Key(u"common_res.dll", 97);
  SpriteSet sprite;
  sprite.count.Set(3);
  sprite.baseSize.Set(24);
  DS_IOF_ByteWriter out;
  sprite.WriteObject(out);
  return b.Raw(out.TakeBytes());
}

std::unique_ptr<DS_DischargeFXConstructor> ReadDischarge(const std::vector<uint8_t>& bytes) {
  std::unique_ptr<DS_ABObj_Constructor> object;
  EXPECT_TRUE(ReadsWhole(bytes, [&](DS_IOF_Virtual& in) { object = ReadConstructorObject(in); }));
  return std::unique_ptr<DS_DischargeFXConstructor>(dynamic_cast<DS_DischargeFXConstructor*>(object.release()));
}

TEST(DischargeRecord, ReadsEveryFieldThroughTheRegistryAndWritesTheSameBytes) {
  for (uint32_t nested : {1u, 9u}) {  // the nested parts' versions are not compared
    SCOPED_TRACE(nested);
    const auto d = ReadDischarge(DischargeRecord(nested).bytes);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->startPoint.Get(), (DS_Vector3{10, 20, 0}));
    EXPECT_EQ(d->endPoint.Get(), (DS_Vector3{300, 40, 0}));
    EXPECT_FLOAT_EQ(d->jitter.Derived(), 0.3f);
    EXPECT_EQ(d->textureChoice.Get(), 0);
    EXPECT_FLOAT_EQ(d->flickerInterval.Derived(), 0.1f);
    EXPECT_FLOAT_EQ(d->morphRate.Derived(), 2.0f);
    EXPECT_EQ(d->glowColour.Get(), 0x00112233u);
    EXPECT_FLOAT_EQ(d->glowAlpha.Derived(), 0.4f);
    EXPECT_EQ(d->effectLink.Key().name, u"common_res.dll");
    EXPECT_EQ(d->effectLink.Key().stamp, 97);
    EXPECT_EQ(d->count.Get(), 3u);
    EXPECT_EQ(d->baseSize.Get(), 24u);
  }
  const auto d = ReadDischarge(DischargeRecord().bytes);
  ASSERT_NE(d, nullptr);
  DS_IOF_ByteWriter out;
  d->Write(out);
  EXPECT_EQ(out.TakeBytes(), DischargeRecord().bytes);
}

TEST(DischargeRecord, ACutShortRecordStopsWithTheDocumentError) {
  const std::vector<uint8_t> whole = DischargeRecord().bytes;
  for (size_t n : {size_t{30}, size_t{60}, size_t{90}, whole.size() - 1}) {
    const std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
    ResourceBuffer buffer(cut.data(), cut.size());
    DS_DocumentReader reader(&buffer);
    EXPECT_THROW(ReadConstructorObject(reader), DS_DocumentError) << n;
  }
}

TEST(DischargeDefaults, ABlueGlowOverAPaleBoltThroughEffect97) {
  const DS_DischargeFXConstructor d;
  EXPECT_EQ(d.effectLink.Key().name, u"common_res.dll");
  EXPECT_EQ(d.effectLink.Key().stamp, 97);
  EXPECT_EQ(d.baseSize.Get(), 50u);
  EXPECT_EQ(d.blendMode.Get(), 1);
  EXPECT_EQ(d.colour.Get(), 0xFFFFCCu);
  EXPECT_EQ(d.textureChoice.Get(), 1);
  EXPECT_FLOAT_EQ(d.jitter.Derived(), 0.5f);
  EXPECT_NEAR(d.flickerInterval.Derived(), 0.0f, 1e-6f);
  EXPECT_FLOAT_EQ(d.morphRate.Derived(), 5.0f);
  // The copy keeps every parameter (its derived numbers included) and both paths.
  DS_DischargeFXConstructor source;
  source.jitter.Set(20);
  source.pathTo.resize(2);
  source.pathTo[1].length = 7;
  const DS_DischargeFXConstructor copy(source);
  EXPECT_FLOAT_EQ(copy.jitter.Derived(), 0.2f);
  ASSERT_EQ(copy.pathTo.size(), 2u);
  EXPECT_EQ(copy.pathTo[1].length, 7.0f);
}

TEST(DischargeDefaults, TheBlendColourIsTheGlowColourInRedGreenBlueOrderAndTheStrength) {
  const struct {
    uint32_t colour, strength;
    float r, g, b, a;
  } cases[] = {
      {0xFF9900, 100, 0.0f, 0.6f, 1.0f, 1.0f},
      {0x0000FF, 50, 1.0f, 0.0f, 0.0f, 0.5f},
      {0x336699, 0, 0x99 / 255.0f, 0x66 / 255.0f, 0x33 / 255.0f, 0.0f},
  };
  for (const auto& c : cases) {
    DS_DischargeFXConstructor d;
    d.glowColour.Set(c.colour);
    d.glowAlpha.Set(c.strength);
    float blend[4];
    d.BlendColour(blend);
    EXPECT_FLOAT_EQ(blend[0], c.r) << std::hex << c.colour;
    EXPECT_FLOAT_EQ(blend[1], c.g);
    EXPECT_FLOAT_EQ(blend[2], c.b);
    EXPECT_FLOAT_EQ(blend[3], c.a);
  }
}

// A discharge with its particles, driven as the glow object drives it each frame.
struct Chain {
  explicit Chain(uint32_t n) {
    d.random = &ScriptedRandom::Draw;
    d.count.Set(n);
    for (uint32_t i = 0; i < n; ++i) {
      particles.push_back(std::make_unique<DS_Particle>(d, 1.0f));
      particles.back()->Reset(d);
      d.SpawnParticle(*particles.back());
    }
  }
  void Frame(float time) {
    d.UpdateFX();
    d.Step(time);
    for (auto& p : particles) d.UpdateParticle(*p);
  }
  // Frames until both paths come from the current points: a new path at phase 0.2 (drawn from
  // the paths of the spawn) and another at 0.4, which the chain then shows a quarter of the way
  // towards (the same path again when the jitter is 0).
  void Settle() {
    for (float t : {0.2f, 0.25f, 0.4f, 0.45f}) Frame(t);
  }
  DS_DischargeFXConstructor d;
  std::vector<std::unique_ptr<DS_Particle>> particles;
};

TEST(DischargeChain, EachParticleIsOneSegmentWithThePictureTipsAtTheEnds) {
  ScriptedRandom::Play({9000, 20000});
  Chain chain(3);
  chain.d.startPoint.Set(DS_Vector3{0, 0, 0});
  chain.d.endPoint.Set(DS_Vector3{300, 0, 0});
  chain.d.jitter.Set(0);
  chain.d.baseSize.Set(40);
  chain.Settle();
  const float centres[] = {50, 150, 250};
  const float lefts[] = {0.0f, 0.195f, 0.195f}, rights[] = {0.805f, 0.805f, 1.0f};
  for (int i = 0; i < 3; ++i) {
    const DS_Particle& p = *chain.particles[i];
    EXPECT_NEAR(p.position.x, centres[i], 1e-3f) << i;
    EXPECT_NEAR(p.position.y, 0.0f, 1e-3f);
    EXPECT_NEAR(p.axisA.x, 1.0f, 1e-5f);
    EXPECT_NEAR(p.axisB.y, -1.0f, 1e-5f);
    EXPECT_NEAR(p.halfWidth, 50.0f, 1e-3f);
    EXPECT_FLOAT_EQ(p.halfHeight, 20.0f);
    EXPECT_FLOAT_EQ(p.texLeft, lefts[i]);
    EXPECT_FLOAT_EQ(p.texRight, rights[i]);
  }
  // One sprite per segment: the first corner is the start point, shifted half the width across.
  DX_V::PCT v[4];
  DS_SpriteSheetClock sheet;
  WriteSpriteVertices(*chain.particles[0], chain.d, sheet, v);
  EXPECT_NEAR(v[1].x, 0.0f, 1e-3f);
  EXPECT_NEAR(std::fabs(v[1].y), 20.0f, 1e-3f);
}

TEST(DischargeChain, TheChainMovesTowardsTheNewPathAndTakesItOverAfterATenthOfPhase) {
  ScriptedRandom::Play({0});
  Chain chain(1);
  chain.d.pathFrom[0].centre = DS_Vec3{0, 0, 0};
  chain.d.pathTo[0].centre = DS_Vec3{100, 0, 0};
  chain.d.startPoint.Set(DS_Vector3{0, 50, 0});
  chain.d.endPoint.Set(DS_Vector3{400, 50, 0});
  // Speed 50: the phase is the time. Morph rate 5 per unit of phase.
  const struct {
    float time, x, y;
  } frames[] = {
      {0.05f, 25, 0},   // t = 0.05 x 5
      {0.08f, 40, 0},   // t = 0.4
      {0.12f, 60, 0},   // 0.08 passed before this frame's update: no new path yet
      {0.16f, 120, 10}, // new path at phase 0.12: from the old target (100, 0) towards (200, 50) by 0.2
  };
  for (const auto& f : frames) {
    chain.Frame(f.time);
    EXPECT_NEAR(chain.particles[0]->position.x, f.x, 1e-3f) << f.time;
    EXPECT_NEAR(chain.particles[0]->position.y, f.y, 1e-3f) << f.time;
  }
  EXPECT_FLOAT_EQ(chain.d.lastRegeneration, 0.12f);
}

TEST(DischargeChain, ThePictureHalvesFlickerAtTheIntervalEachWayUp) {
  // Two coins per flicker: which half, then whether it is turned over.
  const struct {
    int first, second;
    float top, bottom;
  } coins[] = {{1, 0, 0.0f, 0.5f}, {0, 0, 0.5f, 1.0f}, {1, 1, 0.5f, 0.0f}, {0, 1, 1.0f, 0.5f}};
  for (const auto& c : coins) {
    Chain chain(1);  // one segment: the paths draw no random numbers
    ScriptedRandom::Play({c.first, c.second});
    chain.Frame(0.02f);
    EXPECT_FLOAT_EQ(chain.particles[0]->texTop, c.top) << c.first << c.second;
    EXPECT_FLOAT_EQ(chain.particles[0]->texBottom, c.bottom);
    // The one segment is both the first and the last: it shows the whole width, both tips.
    EXPECT_FLOAT_EQ(chain.particles[0]->texLeft, 0.0f);
    EXPECT_FLOAT_EQ(chain.particles[0]->texRight, 1.0f);
  }
  // A flicker value of 0 is 0.1 s of clock between flickers.
  Chain chain(1);
  chain.d.flickerInterval.Set(0);
  ScriptedRandom::Play({1, 1});  // each flicker: top half, turned over
  const struct {
    float clock;
    bool flickered;
  } frames[] = {{0.05f, false}, {0.15f, true}, {0.2f, false}, {0.26f, true}};
  size_t drawn = 0;
  for (const auto& f : frames) {
    chain.Frame(f.clock);
    drawn += f.flickered ? 2 : 0;
    EXPECT_EQ(ScriptedRandom::next, drawn) << f.clock;
  }
  EXPECT_FLOAT_EQ(chain.particles[0]->timer, 0.26f);
}

TEST(DischargeChain, EndsThatMeetGiveAFiniteChain) {
  ScriptedRandom::Play({31000, 200, 15000});
  Chain chain(4);
  chain.d.startPoint.Set(DS_Vector3{120, 80, 0});
  chain.d.endPoint.Set(DS_Vector3{120, 80, 0});
  chain.Settle();
  DS_SpriteSheetClock sheet;
  for (const auto& p : chain.particles) {
    DX_V::PCT v[4];
    WriteSpriteVertices(*p, chain.d, sheet, v);
    for (const DX_V::PCT& corner : v) {
      EXPECT_TRUE(std::isfinite(corner.x) && std::isfinite(corner.y) && std::isfinite(corner.z));
      EXPECT_FLOAT_EQ(corner.x, 120.0f);  // zero axes: every corner on the point
      EXPECT_FLOAT_EQ(corner.y, 80.0f);
    }
  }
}

TEST(DischargeChain, ALoweredCountShortensThePathsAndStillEndsOnTheEndPoint) {
  ScriptedRandom::Play({3000, 28000, 16000, 9000});
  Chain chain(5);
  chain.d.startPoint.Set(DS_Vector3{0, 0, 0});
  chain.d.endPoint.Set(DS_Vector3{200, 100, 0});
  chain.d.count.Set(2);  // no spawn: five particles remain
  chain.Frame(0.3f);
  chain.Frame(0.35f);
  ASSERT_EQ(chain.d.pathFrom.size(), 2u);
  ASSERT_EQ(chain.d.pathTo.size(), 2u);
  const DS_DischargeSegment& last = chain.d.pathTo[1];
  EXPECT_NEAR(last.centre.x + last.direction.x * last.length * 0.5f, 200.0f, 1e-3f);
  EXPECT_NEAR(last.centre.y + last.direction.y * last.length * 0.5f, 100.0f, 1e-3f);
  EXPECT_FLOAT_EQ(chain.particles[1]->texRight, 1.0f);
  // A stored count beyond what one geometry draws is held to it.
  chain.d.count.Set(1000000);
  chain.Frame(0.4f);
  EXPECT_EQ(chain.d.pathTo.size(), static_cast<size_t>(kMaxSpritesPerSystem));
}

}  // namespace
