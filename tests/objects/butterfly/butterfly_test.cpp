// The butterflies' flight: approached values, steering back into the view rectangle, the glide
// states and the random decisions' spacing, the size listener, and a flight that moves the body
// and beats the wings.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>

#include "objects/butterfly/ds_butterfly_constructor.h"
#include "tests/objects/object_device.h"

namespace {

TEST(ApproachValues, MoveTowardsTheTargetAndStopThere) {
  struct Case {
    const char* name;
    float current, target, rate, dt;
    float expected;
  } cases[] = {
      {"up by rate x dt", 0.0f, 10.0f, 4.0f, 1.0f, 4.0f},
      {"down", 10.0f, 0.0f, -4.0f, 2.0f, 2.0f},
      {"stops at the target", 0.0f, 10.0f, 4.0f, 5.0f, 10.0f},
      {"stops from above", 10.0f, 8.0f, -4.0f, 5.0f, 8.0f},
      {"at the target nothing moves", 5.0f, 5.0f, 4.0f, 1.0f, 5.0f},
  };
  for (const Case& c : cases) {
    ApproachValue v(c.current, c.target, c.rate);
    v.Advance(c.dt);
    EXPECT_FLOAT_EQ(v.current, c.expected) << c.name;
  }
  ApproachValue v(50.0f, 50.0f, 250.0f);
  v.SetTarget(-190.0f, 0.0f);  // a rate of 0 keeps the magnitude, the sign points down
  EXPECT_FLOAT_EQ(v.rate, -250.0f);
  v.SetTarget(100.0f, -30.0f);
  EXPECT_FLOAT_EQ(v.rate, 30.0f);
  EXPECT_FLOAT_EQ(v.target, 100.0f);
}

class Butterflies : public ObjectDevice {
 protected:
  void SetUp() override {
    ObjectDevice::SetUp();
    std::srand(7);
    m_Set.view = DS_ViewFractions{0.25f, 0.75f, 0.25f, 0.75f};  // x 256..768, y 192..576
    m_Live.reset(static_cast<DS_3DObjArray*>(m_Set.CreateObject().release()));
  }
  AC_Butterfly& Flight() {
    return *static_cast<AC_Butterfly*>(m_Live->Elements().front()->Root().Controller());
  }
  DS_ButterflyConstructor& Clone() { return static_cast<DS_ButterflyConstructor&>(m_Live->Ctrl()); }

  DS_ButterflyConstructor m_Set;
  std::unique_ptr<DS_3DObjArray> m_Live;
};

TEST_F(Butterflies, StartInsideTheViewRectangleAndSteerBackWhenOutside) {
  AC_Butterfly& f = Flight();
  EXPECT_GE(f.position.x, 256.0f);
  EXPECT_LE(f.position.x, 768.0f);
  EXPECT_GE(f.position.y, 192.0f);
  EXPECT_LE(f.position.y, 576.0f);
  struct Case {
    const char* name;
    float x, y;
    float heading, forward, vertical;
    int glide;
  } cases[] = {
      {"inside: nothing changes", 500.0f, 400.0f, 77.0f, 50.0f, 50.0f, 0},
      {"left: towards 0, faster", 100.0f, 400.0f, 0.0f, 300.0f, 50.0f, 0},
      {"right: towards -180, faster", 900.0f, 400.0f, -180.0f, 300.0f, 50.0f, 0},
      {"above: glide down", 500.0f, 100.0f, 77.0f, 50.0f, 100.0f, 1},
      {"below: climb", 500.0f, 700.0f, 77.0f, 50.0f, -190.0f, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    f.position = D3DXVECTOR3(c.x, c.y, 0.0f);
    f.heading = ApproachValue(77.0f, 77.0f, 10.0f);
    f.forwardSpeed = ApproachValue(50.0f, 50.0f, 350.0f);
    f.verticalSpeed = ApproachValue(50.0f, 50.0f, 250.0f);
    f.glideRequested = 0;
    f.Steer();
    EXPECT_FLOAT_EQ(f.heading.target, c.heading);
    if (c.heading != 77.0f) {
      EXPECT_FLOAT_EQ(std::fabs(f.heading.rate), 350.0f);
    }
    EXPECT_FLOAT_EQ(f.forwardSpeed.target, c.forward);
    EXPECT_FLOAT_EQ(f.verticalSpeed.target, c.vertical);
    EXPECT_EQ(f.glideRequested, c.glide);
  }
}

TEST_F(Butterflies, GlidesStartAndEndThroughTheirStates) {
  AC_Butterfly& f = Flight();
  // Glide starting: the wings close; once below half the lowest angle the state is gliding.
  f.gliding = 0;
  f.glideRequested = 1;
  f.wingAngle = 10.0f;
  f.wingSpeed = -160.0f;
  f.ChoosePosture(0.0f);
  EXPECT_FLOAT_EQ(f.wingMax, 0.0f);
  EXPECT_EQ(f.gliding, 0);
  f.wingAngle = -30.0f;
  f.ChoosePosture(0.0f);
  EXPECT_EQ(f.gliding, 1);
  EXPECT_FLOAT_EQ(f.wingSpeed, -1.6f);
  // Glide ending: the beat is set up again and the state is flapping.
  f.glideRequested = 0;
  f.forwardSpeed = ApproachValue(10.0f, 10.0f, 350.0f);
  f.ChoosePosture(0.0f);
  EXPECT_EQ(f.gliding, 0);
  EXPECT_FLOAT_EQ(f.wingMax, 55.0f);
  EXPECT_FLOAT_EQ(f.wingSpeed, 160.0f);
  // Decisions come more than 0.25 of phase apart.
  f.lastDecision = 1.0f;
  f.ChoosePosture(1.25f);
  EXPECT_FLOAT_EQ(f.lastDecision, 1.0f);
  f.ChoosePosture(1.26f);
  EXPECT_FLOAT_EQ(f.lastDecision, 1.26f);
}

TEST_F(Butterflies, TheSizeOfTheLiveCloneScalesTheModelAtOnce) {
  EXPECT_FLOAT_EQ(Flight().scale._11, 1.0f);  // 100: the model's own size
  Clone().size.Set(200);
  EXPECT_FLOAT_EQ(Flight().scale._11, 2.0f);
  EXPECT_FLOAT_EQ(Flight().scale._33, 2.0f);
}

TEST_F(Butterflies, FlightMovesTheBodyAndBeatsTheWings) {
  DS_Frame& root = m_Live->Elements().front()->Root();
  DS_Frame* wing1 = root.children.front();
  DS_Frame* wing2 = root.children.back();
  float lastX = 0.0f, lastY = 0.0f, lastWing = 0.0f;
  int moves = 0, beats = 0, mirrored = 0;
  for (int frame = 1; frame <= 30; ++frame) {
    m_Live->Update(static_cast<float>(frame) / 30.0f);
    if (std::fabs(root.world._41 - lastX) + std::fabs(root.world._42 - lastY) > 0.5f) ++moves;
    if (std::fabs(wing1->world._11 - lastWing) > 1e-3f) ++beats;
    if (wing1->frontFace != wing2->frontFace) ++mirrored;
    lastX = root.world._41;
    lastY = root.world._42;
    lastWing = wing1->world._11;
    // The wings hang on the body: their world is their own turn times the body's world.
    D3DXMATRIX expected = wing1->local * static_cast<AC_ButterflyWing*>(wing1->Controller())->rotation * root.world;
    for (int i = 0; i < 16; ++i) ASSERT_NEAR(wing1->world[i], expected[i], 1e-3f);
  }
  EXPECT_GE(moves, 25);
  EXPECT_GE(beats, 25);
  EXPECT_GE(mirrored, 25);
}

}  // namespace
