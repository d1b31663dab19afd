// The flow's record in every version it reads, its direction, and what each edge does with a
// particle that crosses it, frame by frame.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "core/data/class_registry.h"
#include "objects/flow/ds_flow_constructor.h"
#include "objects/rain/ds_rain_constructor.h"
#include "tests/objects/particle_test_support.h"

namespace {

// A flow record of the given version; the edges (version 4) each carry their own values.
TestBytes FlowRecord(uint32_t version, int32_t orientationWord, TestBytes b = {}) {
  b.Header(u"DS_FlowConstructor", version);
  b.U32(90).U32(2).U32(4).F32(100.0f);
  if (version >= 2) b.I32(orientationWord);
  if (version >= 4)
    for (int edge = 0; edge < 4; ++edge)
      b.Header(u"DS_BoundControl", 1).I32(edge).U32(10 + edge).U32(20 + edge).U32(30 + edge).U32(40 + edge);
  SpriteSet sprite;
  DS_IOF_ByteWriter out;
  sprite.WriteObject(out);
  return b.Raw(out.TakeBytes());
}

// A rain record around a nested flow record of the given version.
TestBytes RainRecord(uint32_t flowVersion, int32_t orientationWord) {
  TestBytes b;
  b.Header(u"DS_RainConstructor", 1);
  return FlowRecord(flowVersion, orientationWord, b);
}

std::unique_ptr<DS_FlowConstructor> ReadFlow(const std::vector<uint8_t>& bytes) {
  std::unique_ptr<DS_ABObj_Constructor> object;
  EXPECT_TRUE(ReadsWhole(bytes, [&](DS_IOF_Virtual& in) { object = ReadConstructorObject(in); }));
  return std::unique_ptr<DS_FlowConstructor>(dynamic_cast<DS_FlowConstructor*>(object.release()));
}

TEST(FlowRecord, EachVersionReadsItsFieldsAndKeepsTheDefaultsOfTheOthers) {
  const struct {
    uint32_t version;
    int32_t stored, orientation;
    bool edges;
  } cases[] = {
      {1, 0, 0, false},
      {2, 5, 1, false},  // only the truth of the word counts
      {2, 0, 0, false},
      {3, 3, 3, false},
      {4, 2, 2, true},
  };
  for (const auto& c : cases) {
    for (bool rain : {false, true}) {
      // Rain reads its flow part by the nested header's version.
      const auto flow = ReadFlow(rain ? RainRecord(c.version, c.stored).bytes : FlowRecord(c.version, c.stored).bytes);
      ASSERT_NE(flow, nullptr) << c.version;
      EXPECT_EQ(dynamic_cast<DS_RainConstructor*>(flow.get()) != nullptr, rain);
      EXPECT_EQ(flow->angle.Get(), 90u);
      EXPECT_FLOAT_EQ(flow->driftAmount.Derived(), 6.0f);     // 2 x 3
      EXPECT_FLOAT_EQ(flow->driftFrequency.Derived(), 1.0f);  // 4 x 0.25
      EXPECT_FLOAT_EQ(flow->flowSpeed, 100.0f);
      // Without a stored orientation, rain keeps its own (turned with the flow).
      EXPECT_EQ(flow->orientation.Get(), rain && c.version == 1 ? 1 : c.orientation) << c.version;
      // The direction follows the stored angle and speed: up the picture.
      EXPECT_NEAR(flow->flowDirection.x, 0.0f, 1e-4f);
      EXPECT_NEAR(flow->flowDirection.y, -100.0f, 1e-4f);
      for (int edge = 0; edge < 4; ++edge) {
        const DS_BoundControl& bound = flow->bounds[edge];
        EXPECT_EQ(bound.Edge(), edge);
        EXPECT_EQ(bound.mode.Get(), c.edges ? edge : 0) << c.version << " edge " << edge;
        EXPECT_EQ(bound.fadeOutTime.Get(), c.edges ? 10u + edge : 0u);
        EXPECT_EQ(bound.fadeInTime.Get(), c.edges ? 20u + edge : 0u);
        EXPECT_EQ(bound.minDelay.Get(), c.edges ? 30u + edge : 0u);
        EXPECT_EQ(bound.maxDelay.Get(), c.edges ? 40u + edge : 0u);
      }
    }
  }
  // The current version writes back what it read.
  for (const TestBytes& current : {FlowRecord(4, 2), RainRecord(4, 2)}) {
    DS_IOF_ByteWriter out;
    ReadFlow(current.bytes)->Write(out);
    EXPECT_EQ(out.TakeBytes(), current.bytes);
  }
}

TEST(Flow, TheAngleTurnsTheFlowAndItsNormal) {
  const struct {
    uint32_t angle;
    float dx, dy, nx, ny;
  } cases[] = {{90, 0, -100, 1, 0}, {0, 100, 0, 0, 1}, {180, -100, 0, 0, -1}, {270, 0, 100, -1, 0}};
  DS_FlowConstructor flow;
  flow.flowSpeed = 100.0f;
  for (const auto& c : cases) {
    flow.angle.Set(c.angle);
    EXPECT_NEAR(flow.flowDirection.x, c.dx, 1e-3f) << c.angle;
    EXPECT_NEAR(flow.flowDirection.y, c.dy, 1e-3f) << c.angle;
    EXPECT_NEAR(flow.flowNormal.x, c.nx, 1e-5f) << c.angle;
    EXPECT_NEAR(flow.flowNormal.y, c.ny, 1e-5f) << c.angle;
  }
}

// A 400 x 300 picture, a flow of 20-pixel sprites (half size 10) at 100 pixels per unit of
// phase, stepped 0.05 per frame, and one particle placed by the test.
class FlowEdges : public ::testing::Test {
 protected:
  void SetUp() override {
    flow.random = ScriptedRandom::Draw;
    ScriptedRandom::Play({16384});  // every u about 0.5, every coin even
    flow.baseSize.Set(20);
    flow.flowSpeed = 100.0f;
  }
  // One frame: the flow's clock, then the particle's update.
  void Frame() {
    ++frames;
    flow.Step(static_cast<float>(frames) * 0.05f);
    flow.UpdateParticle(p);
  }
  void Start(uint32_t angle, float x, float y) {
    flow.angle.Set(angle);
    flow.OnAngleChanged(angle);  // the speed was set after the last change of angle
    flow.SpawnParticle(p);
    p.position = DS_Vec3{x, y, 0.0f};
    p.velocity.z = 0.0f;  // no drift
  }

  PictureSizeScope picture{400, 300};
  DS_FlowConstructor flow;
  DS_Particle p{flow, 1.0f};
  int frames = 0;
};

TEST_F(FlowEdges, AWrappedParticleFadesOutWaitsAndComesInAtTheOppositeEdge) {
  Start(90, 100, -15);  // flowing up, already wholly above the top
  struct Expect {
    int32_t boundEdge, wrapped;
    float fade, y;
    bool waiting;
  };
  const Expect frames6[] = {
      {0, 0, 1, -20, false},   // taken
      {0, 0, 0, -25, false},   // faded out at once, still moving
      {-1, 0, 0, -30, true},   // released to wait
      {0, 1, 0, 299, true},    // just inside the bottom edge
      {0, 1, 1, 299, false},   // fully visible again
      {-1, 0, 1, 294, false},  // released and moving
      {-1, 0, 1, 289, false},
  };
  for (const Expect& e : frames6) {
    Frame();
    EXPECT_EQ(p.boundEdge, e.boundEdge) << "frame " << frames;
    EXPECT_EQ(p.wrapped, e.wrapped) << "frame " << frames;
    EXPECT_FLOAT_EQ(p.fade, e.fade) << "frame " << frames;
    EXPECT_NEAR(p.position.y, e.y, 1e-3f) << "frame " << frames;
    EXPECT_EQ(p.waiting, e.waiting) << "frame " << frames;
  }
  EXPECT_NEAR(p.position.x, 200.0f, 0.1f);  // a random place along the opposite edge
  EXPECT_EQ(p.colour >> 24, 255u);
}

TEST_F(FlowEdges, WrapTimesFadeByTheirRatesAndTheDelayHoldsTheParticle) {
  flow.bounds[0].fadeOutTime.Set(100);  // 0.5 per frame
  flow.bounds[0].fadeInTime.Set(200);   // 0.25 per frame
  flow.bounds[0].minDelay.Set(100);
  flow.bounds[0].maxDelay.Set(100);  // 0.1: two frames
  Start(90, 100, -15);
  const float fades[] = {1, 0.5f, 0, 0, 0, 0, 0, 0.25f, 0.5f, 0.75f, 1, 1};
  for (float fade : fades) {
    Frame();
    EXPECT_NEAR(p.fade, fade, 1e-5f) << "frame " << frames;
    EXPECT_EQ((p.colour >> 24), static_cast<uint32_t>(255.0f * p.fade)) << "frame " << frames;
  }
  EXPECT_EQ(p.boundEdge, -1);
  EXPECT_LT(p.position.y, 299.0f);  // moving up again
}

TEST_F(FlowEdges, MirroredOrientationsFollowTheMovement) {
  const struct {
    int32_t orientation;
    uint32_t angle;
    float ax, by;
  } cases[] = {{2, 180, -1, 1}, {2, 0, 1, 1}, {3, 90, 1, -1}, {3, 270, 1, 1}};
  for (const auto& c : cases) {
    flow.orientation.Set(c.orientation);
    Start(c.angle, 200, 150);
    Frame();
    EXPECT_FLOAT_EQ(p.axisA.x, c.ax) << c.orientation << " " << c.angle;
    EXPECT_FLOAT_EQ(p.axisB.y, c.by) << c.orientation << " " << c.angle;
  }
}

TEST_F(FlowEdges, ADriftFrequencyOfFourGivesOneChanceOfChangePerUnitOfPhase) {
  flow.driftFrequency.Set(4);
  flow.driftAmount.Set(10);  // 30 pixels per unit of phase across the flow
  Start(0, 200, 150);
  p.velocity.z = 1.0f;
  ScriptedRandom::Play({1, 0});  // an odd coin, then a drift factor of -1
  for (int i = 0; i < 19; ++i) Frame();  // phase 0.95: not yet more than 1
  EXPECT_FLOAT_EQ(p.velocity.z, 1.0f);
  EXPECT_NEAR(p.position.y, 150.0f + 0.95f * 30.0f, 1e-3f);  // drifting down the picture
  Frame();
  Frame();  // phase 1.05 at the latest
  EXPECT_FLOAT_EQ(p.velocity.z, -1.0f);
  EXPECT_GT(p.timer, 0.99f);
  EXPECT_LT(p.timer, 1.06f);
  // A frequency of 0 never changes the drift.
  flow.driftFrequency.Set(0);
  ScriptedRandom::Play({1, 32767});
  for (int i = 0; i < 60; ++i) Frame();
  EXPECT_FLOAT_EQ(p.velocity.z, -1.0f);
}

TEST_F(FlowEdges, TheTopEdgeIsAskedBeforeTheLeft) {
  Start(135, -15, -15);  // up and to the left, wholly beyond both
  Frame();
  EXPECT_EQ(p.boundEdge, 0);
}

TEST_F(FlowEdges, ABounceReversesTheDirectionInConsecutiveFrames) {
  flow.bounds[3].mode.Set(DS_BoundControl::kBounce);
  Start(0, 388, 150);  // flowing right, two pixels short of touching the right edge
  Frame();             // 393: touches
  EXPECT_FLOAT_EQ(p.flowSign.x, -1.0f);
  EXPECT_EQ(p.boundEdge, 3);
  const float touched = p.position.x;
  Frame();  // moving left now; pushed wholly inside and released
  EXPECT_LT(p.position.x, touched);
  EXPECT_LE(p.position.x, 400.0f - 10.0f - 1.0f);
  EXPECT_EQ(p.boundEdge, -1);
  Frame();
  EXPECT_LT(p.position.x, 389.0f - 4.0f);
  EXPECT_EQ(p.boundEdge, -1);
}

TEST_F(FlowEdges, AReturningParticleWaitsJustOutsideAndComesBack) {
  flow.bounds[2].mode.Set(DS_BoundControl::kReturn);
  flow.bounds[2].minDelay.Set(200);
  flow.bounds[2].maxDelay.Set(200);  // 0.2: four frames
  Start(180, -8, 150);                // flowing left, about to leave
  Frame();                            // -13: wholly outside, taken
  EXPECT_EQ(p.boundEdge, 2);
  EXPECT_FLOAT_EQ(p.flowSign.x, -1.0f);  // the flow's own leftward direction reversed
  EXPECT_TRUE(p.waiting);
  int held = 0;
  while (p.waiting && held < 20) {
    Frame();
    ++held;
    EXPECT_FLOAT_EQ(p.position.x, -9.0f);  // one pixel short of wholly outside
  }
  EXPECT_GE(held, 4);
  EXPECT_LE(held, 5);
  EXPECT_EQ(p.boundEdge, -1);
  Frame();
  EXPECT_NEAR(p.position.x, -4.0f, 1e-4f);  // back in, moving right
}

TEST_F(FlowEdges, AnUnknownModeLetsTheParticleGo) {
  flow.bounds[3].mode.Set(7);
  Start(0, 395, 150);
  for (int i = 0; i < 5; ++i) Frame();
  EXPECT_EQ(p.boundEdge, -1);
  EXPECT_FLOAT_EQ(p.position.x, 420.0f);
  EXPECT_FLOAT_EQ(p.fade, 1.0f);
}

TEST_F(FlowEdges, ACopyBindsItsEdgesToItselfAndOutlivesItsSource) {
  auto source = std::make_unique<DS_FlowConstructor>();
  source->bounds[3].mode.Set(DS_BoundControl::kBounce);
  source->flowSpeed = 100.0f;
  source->baseSize.Set(20);
  std::unique_ptr<DS_ParticleSystemCtrl> copy = source->Clone();
  source.reset();
  auto& flowCopy = static_cast<DS_FlowConstructor&>(*copy);
  EXPECT_EQ(flowCopy.bounds[3].mode.Get(), DS_BoundControl::kBounce);
  EXPECT_FLOAT_EQ(flowCopy.flowDirection.x, 100.0f);
  flowCopy.angle.Set(180);  // the copy's own listener
  EXPECT_NEAR(flowCopy.flowDirection.x, -100.0f, 1e-3f);
  flowCopy.angle.Set(0);
  DS_Particle q(flowCopy, 1.0f);
  flowCopy.SpawnParticle(q);
  q.position = DS_Vec3{395, 150, 0};
  flowCopy.Step(0.05f);
  flowCopy.UpdateParticle(q);
  EXPECT_EQ(q.boundEdge, 3);
  EXPECT_FLOAT_EQ(q.flowSign.x, -1.0f);
}

TEST(Rain, ADropStandsUprightFallsAndKeepsItsOwnFadeAtTheEdges) {
  PictureSizeScope picture(400, 300);
  DS_RainConstructor rain;
  EXPECT_NEAR(rain.flowDirection.y, 2000.0f, 0.1f);  // down the picture
  rain.random = ScriptedRandom::Draw;
  ScriptedRandom::Play({16384});
  rain.baseSize.Set(20);
  rain.fadeMin = 0.2f;
  rain.fadeRate = 0.0f;
  DS_Particle p(rain, 1.0f);
  rain.SpawnParticle(p);
  EXPECT_NEAR(p.axisA.x, 1.0f, 1e-5f);  // turned with the flow, then back a quarter turn
  EXPECT_NEAR(p.axisA.y, 0.0f, 1e-5f);
  EXPECT_NEAR(p.axisB.x, 0.0f, 1e-5f);
  EXPECT_NEAR(p.axisB.y, 1.0f, 1e-5f);
  EXPECT_NEAR(p.fade, 0.5f, 1e-4f);
  // Out of the bottom in wrap mode: taken, and its fade stays its own.
  p.position.y = 320.0f;
  rain.Step(0.05f);
  rain.UpdateParticle(p);
  EXPECT_EQ(p.boundEdge, 1);
  for (int frame = 2; frame < 6; ++frame) {
    rain.Step(static_cast<float>(frame) * 0.05f);
    rain.UpdateParticle(p);
    EXPECT_NEAR(p.fade, 0.5f, 1e-4f) << frame;
    EXPECT_EQ(p.boundEdge, 1) << frame;
  }
  EXPECT_GT(p.position.y, 320.0f);  // still falling beyond the edge
  // Its fade cycle brings it back: below the fade minimum it is made again inside the view.
  p.fadeRate = -10.0f;
  rain.Step(0.3f);
  rain.UpdateParticle(p);
  EXPECT_FLOAT_EQ(p.fade, 0.2f);
  EXPECT_FLOAT_EQ(p.fadeRate, 10.0f);
  EXPECT_LT(p.position.y, 300.0f);
}

}  // namespace
