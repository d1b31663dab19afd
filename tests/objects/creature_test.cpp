// The swimming and flying kinds: their records (the ghost and the bird nest the fish's), where a
// creature starts and which way it faces, how it turns at the sides and bounces at the top and
// bottom, its course changes, the ghost's fade cycle and the bird's speed floor.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "core/data/class_registry.h"
#include "objects/bird/ds_bird_constructor.h"
#include "objects/fish/ds_fish_constructor.h"
#include "objects/ghost/ds_ghost_constructor.h"
#include "tests/objects/particle_test_support.h"

namespace {

// The rand() value whose u is closest to `u`.
int RandOf(float u) { return static_cast<int>(std::lround(u * 32767.0f)); }

// A fish record with speeds 120 and 30 and a sprite record of 9 sprites of 24 pixels; wrapped in
// a ghost's or bird's header when `outer` names one.
TestBytes CreatureRecord(const char16_t* outer) {
  TestBytes b;
  if (outer) b.Header(outer, 1);
  b.Header(u"DS_FishConstructor", 1).F32(120.0f).F32(30.0f);
  SpriteSet sprite;
  sprite.count.Set(9);
  sprite.baseSize.Set(24);
  DS_IOF_ByteWriter out;
  sprite.WriteObject(out);
  return b.Raw(out.TakeBytes());
}

TEST(CreatureRecord, EachKindReadsTheFishRecordAndWritesItBack) {
  const struct {
    const char16_t* outer;  // null: the fish itself
    bool ghost, bird;
  } cases[] = {{nullptr, false, false}, {u"DS_GhostConstructor", true, false}, {u"DS_BirdConstructor", false, true}};
  for (const auto& c : cases) {
    const TestBytes record = CreatureRecord(c.outer);
    std::unique_ptr<DS_ABObj_Constructor> object;
    ASSERT_TRUE(ReadsWhole(record.bytes, [&](DS_IOF_Virtual& in) { object = ReadConstructorObject(in); }));
    auto* fish = dynamic_cast<DS_FishConstructor*>(object.get());
    ASSERT_NE(fish, nullptr);
    EXPECT_EQ(dynamic_cast<DS_GhostConstructor*>(fish) != nullptr, c.ghost);
    EXPECT_EQ(dynamic_cast<DS_BirdConstructor*>(fish) != nullptr, c.bird);
    EXPECT_FLOAT_EQ(fish->maxSpeedX, 120.0f);
    EXPECT_FLOAT_EQ(fish->maxSpeedY, 30.0f);
    EXPECT_EQ(fish->count.Get(), 9u);
    EXPECT_EQ(fish->baseSize.Get(), 24u);
    DS_IOF_ByteWriter out;
    fish->Write(out);
    EXPECT_EQ(out.TakeBytes(), record.bytes);
    // The clone keeps the kind and both speeds.
    const std::unique_ptr<DS_ParticleSystemCtrl> clone = fish->Clone();
    auto* copy = dynamic_cast<DS_FishConstructor*>(clone.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(typeid(*copy), typeid(*fish));
    EXPECT_FLOAT_EQ(copy->maxSpeedX, 120.0f);
    EXPECT_FLOAT_EQ(copy->maxSpeedY, 30.0f);
  }
}

TEST(CreatureRecord, TheGhostStartsSlowerFainterAndBreathing) {
  DS_GhostConstructor ghost;
  EXPECT_FLOAT_EQ(ghost.maxSpeedX, 50.0f);
  EXPECT_FLOAT_EQ(ghost.maxSpeedY, 50.0f);
  EXPECT_FLOAT_EQ(ghost.fadeRate, 0.66f);
  EXPECT_EQ(ghost.transparency.Get(), 50u);
  EXPECT_EQ(ghost.Opacity(), 127u);  // 255 - 2.55 x 50 in single precision, truncated
  DS_BirdConstructor bird;
  EXPECT_FLOAT_EQ(bird.maxSpeedX, 80.0f);
  EXPECT_FLOAT_EQ(bird.maxSpeedY, 50.0f);
  EXPECT_EQ(bird.Opacity(), 255u);
}

// A 400 x 300 picture and a creature of 20-pixel sprites (half size 10), frames 0.05 s apart at
// the default speed (a step of 0.05).
template <class Kind>
class CreatureMotion : public ::testing::Test {
 protected:
  void SetUp() override {
    creature.random = ScriptedRandom::Draw;
    ScriptedRandom::Play({RandOf(0.5f)});
    creature.baseSize.Set(20);
  }
  // A creature placed by the test: spawned, then put at (x, y) with the given velocity.
  void Place(float x, float y, float vx, float vy) {
    creature.SpawnParticle(p);
    p.position = DS_Vec3{x, y, 0.0f};
    p.velocity = DS_Vec3{vx, vy, 0.0f};
    p.halfWidth = vx < 0.0f ? -10.0f : 10.0f;
  }
  void Frame() {
    ++frames;
    creature.Step(static_cast<float>(frames) * 0.05f);
    creature.UpdateParticle(p);
  }

  PictureSizeScope picture{400, 300};
  Kind creature;
  DS_Particle p{creature, 1.0f};
  int frames = 0;
};
using FishMotion = CreatureMotion<DS_FishConstructor>;

TEST_F(FishMotion, ASpawnedFishFacesTheWayItSwims) {
  const struct {
    float ux;  // the draw for the horizontal speed
    float vx;
    bool mirrored;
  } cases[] = {{0.3125f, -30.0f, true}, {0.75f, 40.0f, false}, {0.5f, 0.0f, false}, {0.0f, -80.0f, true}};
  for (const auto& c : cases) {
    // Horizontal speed, vertical speed (-50 + 0.25 x 100), then the point (x, y).
    ScriptedRandom::Play({RandOf(c.ux), RandOf(0.25f), RandOf(0.5f), RandOf(0.1f)});
    creature.SpawnParticle(p);
    EXPECT_NEAR(p.velocity.x, c.vx, 0.01f) << c.ux;
    EXPECT_NEAR(p.velocity.y, -25.0f, 0.01f);
    EXPECT_EQ(p.velocity.z, 0.0f);
    EXPECT_NEAR(p.position.x, 200.0f, 0.01f);
    EXPECT_NEAR(p.position.y, 30.0f, 0.01f);
    EXPECT_FLOAT_EQ(std::fabs(p.halfWidth), 10.0f);
    EXPECT_EQ(p.halfWidth < 0.0f, c.mirrored) << c.ux;
    EXPECT_EQ(p.colour, 0xFFFFFFFFu);
  }
}

TEST_F(FishMotion, AFishTurnsOnlyOnceWhollyOutsideASideAndThenFacesItsNewWay) {
  const struct {
    float x, vx;
    float turnedVx;  // the horizontal speed after one frame
  } cases[] = {
      {-5.0f, -30.0f, -30.0f},  // reaching over the left edge: swims on
      {-9.0f, -30.0f, 30.0f},   // wholly left of it after this frame's move: turns right
      {-30.0f, 30.0f, 30.0f},   // already coming back
      {405.0f, 30.0f, 30.0f},
      {409.0f, 30.0f, -30.0f},
      {430.0f, -30.0f, -30.0f},
      {200.0f, -30.0f, -30.0f},
  };
  for (const auto& c : cases) {
    Place(c.x, 150.0f, c.vx, 0.0f);
    Frame();
    EXPECT_FLOAT_EQ(p.position.x, c.x + 0.05f * c.vx);
    EXPECT_FLOAT_EQ(p.velocity.x, c.turnedVx) << c.x;
    EXPECT_FLOAT_EQ(p.halfWidth, c.turnedVx < 0.0f ? -10.0f : 10.0f) << c.x;  // faces its way
  }
}

TEST_F(FishMotion, AFishBouncesAsSoonAsItReachesOverTheTopOrTheBottom) {
  const struct {
    float y, vy, after;
  } cases[] = {
      {11.0f, -30.0f, 30.0f},    // its top goes above the edge while its centre is inside
      {12.0f, -30.0f, -30.0f},   // still clear of it
      {-40.0f, 20.0f, 20.0f},    // above the view and coming down
      {289.0f, 30.0f, -30.0f},   // reaching over the bottom
      {288.0f, 30.0f, 30.0f},
      {150.0f, -30.0f, -30.0f},
  };
  for (const auto& c : cases) {
    Place(200.0f, c.y, 20.0f, c.vy);
    Frame();
    EXPECT_FLOAT_EQ(p.velocity.y, c.after) << c.y;
  }
}

TEST_F(FishMotion, CourseChangesWaitForMoreThanASecondOfTheClockWhateverTheSpeed) {
  creature.speed.Set(100);  // twice as fast, as often
  creature.maxSpeedX = 80.0f;
  creature.maxSpeedY = 50.0f;
  Place(200.0f, 150.0f, -40.0f, 10.0f);
  // Every coin odd; the new speeds are -80 + 0.75 x 160 = 40 (given the old sign) and
  // -50 + 0.2 x 100 = -30.
  ScriptedRandom::Play({1, RandOf(0.75f), RandOf(0.2f)});
  for (int i = 0; i < 20; ++i) {  // up to 1.0 s: no change
    Frame();
    ASSERT_FLOAT_EQ(p.velocity.x, -40.0f) << frames;
  }
  EXPECT_NEAR(p.position.x, 200.0f - 40.0f * 2.0f, 1e-3f);  // two units of phase at speed 100
  Frame();  // 1.05 s
  EXPECT_NEAR(p.velocity.x, -40.0f, 0.01f);  // the heading kept: still facing left
  EXPECT_NEAR(p.velocity.y, -30.0f, 0.01f);
  EXPECT_FLOAT_EQ(p.timer, 1.05f);
  EXPECT_LT(p.halfWidth, 0.0f);
  // The next chance comes a second later; an even coin keeps the course.
  ScriptedRandom::Play({2, RandOf(0.0f), RandOf(0.0f)});
  for (int i = 0; i < 21; ++i) Frame();
  EXPECT_FLOAT_EQ(p.timer, 2.10f);
  EXPECT_NEAR(p.velocity.x, -40.0f, 0.01f);
  EXPECT_NEAR(p.velocity.y, -30.0f, 0.01f);
}

TEST(CreatureOnAnEmptyPicture, AFishOnAPictureOfNoSizeStaysFiniteAndStillTurns) {
  // A picture that failed to decode is 0 x 0: the view is the point (0, 0).
  PictureSizeScope picture(0, 0);
  DS_FishConstructor fish;
  fish.baseSize.Set(20);
  fish.random = ScriptedRandom::Draw;
  ScriptedRandom::Play({RandOf(0.9f), RandOf(0.5f), RandOf(0.3f), RandOf(0.7f)});
  DS_Particle p(fish, 1.0f);
  fish.SpawnParticle(p);
  EXPECT_EQ(p.position.x, 0.0f);
  EXPECT_EQ(p.position.y, 0.0f);
  bool turnedLeft = false;
  for (int frame = 1; frame <= 200; ++frame) {
    fish.Step(static_cast<float>(frame) * 0.05f);
    fish.UpdateParticle(p);
    ASSERT_TRUE(std::isfinite(p.position.x) && std::isfinite(p.position.y)) << frame;
    turnedLeft = turnedLeft || p.velocity.x < 0.0f;
  }
  EXPECT_TRUE(turnedLeft);
  EXPECT_LT(std::fabs(p.position.x), 40.0f);  // it keeps swimming round the point
  EXPECT_LT(std::fabs(p.position.y), 20.0f);
}

using GhostMotion = CreatureMotion<DS_GhostConstructor>;

TEST_F(GhostMotion, AGhostThatFadesAwayAppearsElsewhereAndFadesInFromTheMinimum) {
  creature.fadeMin = 0.2f;
  creature.fadeMax = 0.9f;
  creature.transparency.Set(0);
  Place(100.0f, 100.0f, 20.0f, 0.0f);
  p.fade = 0.5f;
  p.fadeRate = -2.0f;
  Frame();  // a fade step of -0.1
  EXPECT_NEAR(p.fade, 0.4f, 1e-5f);
  EXPECT_EQ(p.colour >> 24, 102u);  // trunc(255 x 0.4)
  p.fade = 0.25f;
  // Spawned again: speeds -50 + 0.1 x 100 = -40 and 0, the point (360, 240), a fresh fade.
  ScriptedRandom::Play({RandOf(0.1f), RandOf(0.5f), RandOf(0.9f), RandOf(0.8f), RandOf(0.6f)});
  Frame();
  EXPECT_NEAR(p.position.x, 360.0f, 0.01f);
  EXPECT_NEAR(p.position.y, 240.0f, 0.01f);
  EXPECT_NEAR(p.velocity.x, -40.0f, 0.01f);
  EXPECT_LT(p.halfWidth, 0.0f);  // facing its new way
  EXPECT_FLOAT_EQ(p.fade, 0.2f);
  EXPECT_FLOAT_EQ(p.fadeRate, 2.0f);
  EXPECT_EQ(p.colour >> 24, 51u);
  // At the top of its range it turns round.
  p.fade = 0.85f;
  Frame();
  EXPECT_FLOAT_EQ(p.fade, 0.9f);
  EXPECT_FLOAT_EQ(p.fadeRate, -2.0f);
  // A document's fade range far beyond 1, or not a number, gives a defined alpha byte: the
  // product is clamped to the int32 range (low byte 255), NaN gives 0.
  const struct {
    float fadeMax, fade;
    uint32_t alpha;
  } hostile[] = {{1e30f, 1e29f, 255u}, {NAN, NAN, 0u}, {2.0f, 1.5f, 126u}};
  for (const auto& h : hostile) {
    creature.fadeMax = h.fadeMax;
    p.fade = h.fade;
    p.fadeRate = 0.0f;
    Frame();
    EXPECT_EQ(p.colour >> 24, h.alpha) << h.fade;
  }
}

using BirdMotion = CreatureMotion<DS_BirdConstructor>;

TEST_F(BirdMotion, ABirdKeepsItsSpeedFloorsAndItsHeading) {
  const struct {
    float vx, vy;
    float lowVx, highVx, vyAfter;
  } cases[] = {
      {60.0f, -10.0f, 60.0f, 60.0f, 35.0f - 10.0f * 0.3f / 0.7f},  // a slow climb turns into a glide down
      {60.0f, -40.0f, 60.0f, 60.0f, -40.0f},
      {60.0f, 0.0f, 60.0f, 60.0f, 35.0f},
      {60.0f, 34.0f, 60.0f, 60.0f, 35.0f + 34.0f * 0.3f / 0.7f},
      {-20.0f, 40.0f, -80.0f, -56.0f, 40.0f},  // too slow: 56 to 80, still leftwards
      {20.0f, 40.0f, 56.0f, 80.0f, 40.0f},
      {-70.0f, 40.0f, -70.0f, -70.0f, 40.0f},
  };
  for (const auto& c : cases) {
    Place(200.0f, 150.0f, c.vx, c.vy);
    const float before = p.halfWidth;
    Frame();
    EXPECT_GE(p.velocity.x, c.lowVx) << c.vx << ", " << c.vy;
    EXPECT_LE(p.velocity.x, c.highVx) << c.vx << ", " << c.vy;
    EXPECT_NEAR(p.velocity.y, c.vyAfter, 1e-4f) << c.vx << ", " << c.vy;
    EXPECT_EQ(p.halfWidth, before);
  }
  // The fish's own rules still hold: wholly beyond the right side it turns and faces left.
  Place(415.0f, 150.0f, 60.0f, 40.0f);
  Frame();
  EXPECT_FLOAT_EQ(p.velocity.x, -60.0f);
  EXPECT_LT(p.halfWidth, 0.0f);
}

}  // namespace
