// The discharge's path on the host: segment lengths and centres, the end points, the random
// turns, a discharge whose ends meet, and the blend from one path to the next.
#include <gtest/gtest.h>

#include <cmath>

#include "objects/discharge_fx/discharge_path.h"
#include "tests/support/random_sequence.h"

namespace {

void ExpectVec(const DS_Vec3& v, float x, float y, float z, const char* what) {
  EXPECT_NEAR(v.x, x, 1e-4f) << what;
  EXPECT_NEAR(v.y, y, 1e-4f) << what;
  EXPECT_NEAR(v.z, z, 1e-4f) << what;
}

DS_Vec3 EndOf(const DS_DischargeSegment& s) {
  return DS_Vec3{s.centre.x + s.direction.x * s.length * 0.5f, s.centre.y + s.direction.y * s.length * 0.5f,
                 s.centre.z + s.direction.z * s.length * 0.5f};
}

TEST(DischargePath, WithoutJitterTheSegmentsShareTheWayEvenly) {
  const struct {
    DS_Vec3 start, end;
    size_t count;
  } cases[] = {
      {{0, 0, 0}, {300, 0, 0}, 3},
      {{10, 20, 0}, {10, 420, 0}, 4},
      {{100, 100, 0}, {40, 20, 0}, 1},
  };
  for (const auto& c : cases) {
    RandomSequence::Set({30000, 100, 16000});
    std::vector<DS_DischargeSegment> path(c.count);
    GenerateDischargePath(path, c.start, c.end, 0.0f, &RandomSequence::Next);
    const DS_Vec3 d{c.end.x - c.start.x, c.end.y - c.start.y, 0};
    const float whole = std::hypot(d.x, d.y);
    for (size_t g = 0; g < c.count; ++g) {
      const float f = (static_cast<float>(g) + 0.5f) / static_cast<float>(c.count);
      ExpectVec(path[g].centre, c.start.x + d.x * f, c.start.y + d.y * f, 0, "centre");
      ExpectVec(path[g].direction, d.x / whole, d.y / whole, 0, "direction");
      ExpectVec(path[g].normal, d.y / whole, -d.x / whole, 0, "normal");
      EXPECT_NEAR(path[g].length, whole / static_cast<float>(c.count), 1e-3f);
    }
    // Two draws for every segment but the last, whatever the jitter.
    EXPECT_EQ(RandomSequence::Drawn(), 2 * (c.count - 1));
  }
}

TEST(DischargePath, TheWorkedCaseOfThreeSegments) {
  std::vector<DS_DischargeSegment> path(3);
  RandomSequence::Set({0});
  GenerateDischargePath(path, DS_Vec3{0, 0, 0}, DS_Vec3{300, 0, 0}, 0.0f, &RandomSequence::Next);
  const float centres[] = {50, 150, 250};
  for (int g = 0; g < 3; ++g) {
    ExpectVec(path[g].centre, centres[g], 0, 0, "centre");
    ExpectVec(path[g].direction, 1, 0, 0, "direction");
    ExpectVec(path[g].normal, 0, -1, 0, "normal");
    EXPECT_FLOAT_EQ(path[g].length, 100.0f);
  }
}

TEST(DischargePath, JitterTurnsEachSegmentButTheLastEndsOnTheEndPoint) {
  // r = -j + u x 2j: 32767 gives +j, 0 gives -j.
  RandomSequence::Set({32767, 0});
  std::vector<DS_DischargeSegment> path(2);
  GenerateDischargePath(path, DS_Vec3{0, 0, 0}, DS_Vec3{200, 0, 0}, 0.5f, &RandomSequence::Next);
  // First: R = (200, 0), V = (200 + 0.5 x 0, 0 - 0.5 x 200) = (200, -100); L = 100.
  const float k = 1.0f / std::sqrt(5.0f);
  ExpectVec(path[0].direction, 2 * k, -k, 0, "turned");
  EXPECT_FLOAT_EQ(path[0].length, 100.0f);
  const DS_Vec3 joint = EndOf(path[0]);
  ExpectVec(joint, 200 * k, -100 * k, 0, "joint");
  // The last segment takes the whole remaining way, straight.
  EXPECT_NEAR(path[1].length, std::hypot(200 - joint.x, joint.y), 1e-3f);
  ExpectVec(EndOf(path[1]), 200, 0, 0, "end");
  // A longer chain with repeating draws still lands on the end point.
  RandomSequence::Set({4000, 29000, 17000, 31000, 2500});
  std::vector<DS_DischargeSegment> chain(9);
  GenerateDischargePath(chain, DS_Vec3{40, 300, 0}, DS_Vec3{500, 60, 0}, 0.8f, &RandomSequence::Next);
  ExpectVec(EndOf(chain.back()), 500, 60, 0, "end of chain");
  ExpectVec(chain[0].centre, 40 + chain[0].direction.x * chain[0].length * 0.5f,
            300 + chain[0].direction.y * chain[0].length * 0.5f, 0, "starts on the start point");
}

TEST(DischargePath, EndsThatMeetGiveZeroVectorsAndNoNaN) {
  RandomSequence::Set({12345, 321});
  std::vector<DS_DischargeSegment> path(4);
  GenerateDischargePath(path, DS_Vec3{64, 48, 0}, DS_Vec3{64, 48, 0}, 0.5f, &RandomSequence::Next);
  for (const DS_DischargeSegment& s : path) {
    ExpectVec(s.direction, 0, 0, 0, "direction");
    ExpectVec(s.normal, 0, 0, 0, "normal");
    ExpectVec(s.centre, 64, 48, 0, "centre");
    EXPECT_EQ(s.length, 0.0f);
  }
}

TEST(DischargePath, NormalisingAZeroOrUnboundedVectorGivesZero) {
  const struct {
    DS_Vec3 in, out;
  } cases[] = {
      {{0, 0, 0}, {0, 0, 0}},
      {{3, 4, 0}, {0.6f, 0.8f, 0}},
      {{0, 0, -2}, {0, 0, -1}},
      {{INFINITY, 1, 0}, {0, 0, 0}},
      {{NAN, 0, 0}, {0, 0, 0}},
  };
  for (const auto& c : cases) ExpectVec(NormaliseOrZero(c.in), c.out.x, c.out.y, c.out.z, "normalised");
}

TEST(DischargePath, TheBlendMovesEveryFieldWithoutRenormalising) {
  DS_DischargeSegment a, b;
  a.centre = {0, 0, 0};
  a.direction = {1, 0, 0};
  a.normal = {0, -1, 0};
  a.length = 10;
  b.centre = {100, 50, 2};
  b.direction = {0, 1, 0};
  b.normal = {1, 0, 0};
  b.length = 30;
  const DS_DischargeSegment half = BlendSegments(a, b, 0.5f);
  ExpectVec(half.centre, 50, 25, 1, "centre");
  ExpectVec(half.direction, 0.5f, 0.5f, 0, "direction stays short");
  ExpectVec(half.normal, 0.5f, -0.5f, 0, "normal");
  EXPECT_FLOAT_EQ(half.length, 20.0f);
  // Beyond 1 the chain keeps going past the target, as the morph rate allows.
  const DS_DischargeSegment over = BlendSegments(a, b, 1.5f);
  ExpectVec(over.centre, 150, 75, 3, "overshoot");
  EXPECT_FLOAT_EQ(over.length, 40.0f);
  ExpectVec(BlendSegments(a, b, 0.0f).centre, 0, 0, 0, "t 0");
}

}  // namespace
