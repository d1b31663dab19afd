// The camera's wander and the view rectangle's arithmetic, without device.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/layer/camera_motion.h"
#include "core/layer/view_fractions.h"
#include "tests/support/random_sequence.h"

namespace {

TEST(CameraWander, GlidesWithCosineEasingThenHoldsAndPicksOnTime) {
  // Odd draw: a glide to (1, -1) over 5 + 2 x 16383/32767 units; then an even draw: a hold.
  RandomSequence::Set({1, 32767, 0, 16383, 2, 3, 0, 32767, 0});
  DS_CameraWander w;
  const float glideEnd = 5.0f + 16383.0f / 32767.0f * 2.0f;

  DS_CameraPose p = CameraPoseAt(w, 0.0f, true, true, 1.2f, RandomSequence::Next);
  EXPECT_FLOAT_EQ(p.zoom, 1.2f);
  EXPECT_FLOAT_EQ(w.start, 0.0f);
  EXPECT_NEAR(w.end, glideEnd, 1e-5f);
  EXPECT_FLOAT_EQ(p.panX, 0.0f);
  EXPECT_FLOAT_EQ(p.panY, 0.0f);
  EXPECT_EQ(RandomSequence::Drawn(), 4u);

  p = CameraPoseAt(w, glideEnd / 2.0f, true, true, 1.2f, RandomSequence::Next);
  EXPECT_NEAR(p.panX, 0.5f, 1e-5f);  // half way in time is half way in position
  EXPECT_NEAR(p.panY, -0.5f, 1e-5f);
  p = CameraPoseAt(w, glideEnd / 4.0f, true, true, 1.2f, RandomSequence::Next);
  EXPECT_NEAR(p.panX, (1.0f - std::cos(3.1415927f / 4.0f)) / 2.0f, 1e-5f);  // eased, not linear
  EXPECT_EQ(RandomSequence::Drawn(), 4u);  // no pick inside the segment

  // Reaching the end picks the next segment: the even draw holds at (1, -1) for half a unit.
  p = CameraPoseAt(w, glideEnd, true, true, 1.2f, RandomSequence::Next);
  EXPECT_EQ(RandomSequence::Drawn(), 5u);
  EXPECT_NEAR(w.end - w.start, 0.5f, 1e-6f);
  EXPECT_NEAR(p.panX, 1.0f, 1e-5f);
  EXPECT_NEAR(p.panY, -1.0f, 1e-5f);
  p = CameraPoseAt(w, glideEnd + 0.4f, true, true, 1.2f, RandomSequence::Next);
  EXPECT_NEAR(p.panX, 1.0f, 1e-5f);
  EXPECT_NEAR(p.panY, -1.0f, 1e-5f);

  // After the hold a glide starts from where the hold stood, towards (-1, 1).
  p = CameraPoseAt(w, glideEnd + 0.5f, true, true, 1.2f, RandomSequence::Next);
  EXPECT_EQ(RandomSequence::Drawn(), 9u);
  EXPECT_FLOAT_EQ(w.xFrom, 1.0f);
  EXPECT_FLOAT_EQ(w.yFrom, -1.0f);
  EXPECT_FLOAT_EQ(w.xTo, -1.0f);
  EXPECT_FLOAT_EQ(w.yTo, 1.0f);
  EXPECT_NEAR(w.end - w.start, 5.0f, 1e-5f);
}

TEST(CameraWander, OnlyAWanderingCameraThatIsOnMoves) {
  RandomSequence::Set({1, 32767, 32767, 0});
  const struct {
    bool on, wanders;
  } cases[] = {{false, false}, {false, true}, {true, false}};
  for (const auto& c : cases) {
    DS_CameraWander w;
    const DS_CameraPose p = CameraPoseAt(w, 3.0f, c.on, c.wanders, 1.2f, RandomSequence::Next);
    EXPECT_FLOAT_EQ(p.zoom, 1.0f);
    EXPECT_FLOAT_EQ(p.panX, 0.0f);
    EXPECT_FLOAT_EQ(p.panY, 0.0f);
  }
  EXPECT_EQ(RandomSequence::Drawn(), 0u);
}

TEST(CameraWander, ASegmentLostInSinglePrecisionDoesNotDivideByZero) {
  RandomSequence::Set({2});
  DS_CameraWander w;
  // At a clock of 2^25 units adding half a unit changes nothing: start equals end.
  const DS_CameraPose p = CameraPoseAt(w, 33554432.0f, true, true, 1.2f, RandomSequence::Next);
  EXPECT_TRUE(std::isfinite(p.panX));
  EXPECT_TRUE(std::isfinite(p.panY));
}

TEST(ViewFractions, PixelsAndFractionsOfThePicture) {
  const DS_PixelRect r = PixelRectOf(DS_ViewFractions(), 1024, 768);
  EXPECT_FLOAT_EQ(r.left, 0.0f);
  EXPECT_FLOAT_EQ(r.right, 1024.0f);
  EXPECT_FLOAT_EQ(r.top, 0.0f);
  EXPECT_FLOAT_EQ(r.bottom, 768.0f);
  EXPECT_FLOAT_EQ(FractionOfPixel(256, 1024, 0.0f), 0.25f);
  EXPECT_EQ(PixelOfFraction(0.25f, 1024), 256);
  EXPECT_EQ(PixelOfFraction(0.3333f, 10), 3);  // truncated
  // A picture of size 0 keeps the fraction rather than making it infinite or NaN.
  EXPECT_FLOAT_EQ(FractionOfPixel(256, 0, 0.4f), 0.4f);
  EXPECT_FLOAT_EQ(FractionOfPixel(0, 0, 1.0f), 1.0f);
  // Conversions of values no int holds are defined.
  EXPECT_EQ(PixelOfFraction(std::numeric_limits<float>::quiet_NaN(), 100), 0);
  EXPECT_EQ(PixelOfFraction(std::numeric_limits<float>::infinity(), 100), std::numeric_limits<int>::max());
}

TEST(ViewTimeStep, CapsTheFrameTimeAndTheStep) {
  DS_ViewTimeStep s;
  s.Step(0.5f, 50);  // the first call measures from 0
  EXPECT_FLOAT_EQ(s.frameTime, 0.1f);
  EXPECT_FLOAT_EQ(s.step, 0.2f);
  EXPECT_FLOAT_EQ(s.phase, 0.2f);
  s.Step(0.55f, 50);
  EXPECT_NEAR(s.frameTime, 0.05f, 1e-6f);
  EXPECT_NEAR(s.step, 0.05f, 1e-6f);
  s.Step(0.45f, 100);  // a gap is measured either way
  EXPECT_NEAR(s.frameTime, 0.1f, 1e-6f);
  EXPECT_NEAR(s.step, 0.2f, 1e-6f);
  EXPECT_NEAR(s.phase, 0.45f, 1e-5f);
  EXPECT_FLOAT_EQ(s.lastTime, 0.45f);
}

TEST(ViewRandomPoint, DrawsXFirstWithinTheBounds) {
  RandomSequence::Set({32767, 0});
  const DS_Point3 p = RandomPointIn(10.0f, 20.0f, 100.0f, 200.0f, RandomSequence::Next);
  EXPECT_FLOAT_EQ(p.x, 20.0f);
  EXPECT_FLOAT_EQ(p.y, 100.0f);
  EXPECT_FLOAT_EQ(p.z, 0.0f);
}

}  // namespace
