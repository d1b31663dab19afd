// Falling 3D objects: the direction of the angle, the drift and its wrap at the picture's edges,
// the capped time step, the tumbling scale (a mesh without radius gives nothing, not infinity),
// the live object's elements: fixed at construction, capped, none by default; and the record's
// resource entries, whose embedded bytes read and write back as stored.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>

#include "core/data/class_registry.h"
#include "objects/falling_leaves/ds_3d_in_2d_array_constructor.h"
#include "tests/objects/object_device.h"

namespace {

class FallMotion : public ::testing::Test {
 protected:
  void SetUp() override {
    SetPictureSize(400, 300);
    g_FallClock = 0.0f;
    std::srand(3);
  }
  void TearDown() override {
    SetPictureSize(0, 0);
    g_FallClock = 0.0f;
  }
  static void SetPictureSize(int w, int h) {
    DS_ScreenMapping& mapping = CurrentRenderContext().mapping;
    mapping.pictureWidth = w;
    mapping.pictureHeight = h;
  }
  // An element at (x, y) with speed factor 0.1: 25 pixels per 0.1 s at speed 50.
  static DS_SreamAnim At(const DS_FallMotion& motion, float x, float y) {
    DS_SreamAnim anim(motion);
    anim.positionMatrix._41 = x;
    anim.positionMatrix._42 = y;
    anim.speedFactor = 0.1f;
    return anim;
  }
  static void Advance(DS_SreamAnim& anim, float to) {
    g_FallClock = to;
    DS_Frame frame;
    anim.Animate(frame);
  }
};

TEST_F(FallMotion, TheAngleSetsTheDirectionInThePicture) {
  struct Case {
    uint32_t angle;
    float dx, dy;
  } cases[] = {{0, 25.0f, 0.0f}, {90, 0.0f, -25.0f}, {180, -25.0f, 0.0f}, {270, 0.0f, 25.0f}};
  for (const Case& c : cases) {
    DS_FallMotion motion;
    motion.SetAngle(c.angle);
    motion.sway.SetDefault(0);
    DS_SreamAnim anim = At(motion, 200.0f, 150.0f);
    Advance(anim, 0.1f);
    EXPECT_NEAR(anim.positionMatrix._41 - 200.0f, c.dx, 1e-3f) << c.angle;
    EXPECT_NEAR(anim.positionMatrix._42 - 150.0f, c.dy, 1e-3f) << c.angle;
  }
}

TEST_F(FallMotion, ElementsWrapToTheOppositeSideVerticalFirst) {
  struct Case {
    const char* name;
    uint32_t angle;
    float x, y;
    bool xRandom;  // else x must equal `wrappedX`
    float wrappedX;
    bool yRandom;
    float wrappedY;
  } cases[] = {
      // size 20: the margin is 10 pixels
      {"down past the bottom", 270, 50.0f, 311.0f, true, 0.0f, false, -10.0f},
      {"up past the top", 90, 50.0f, -11.0f, true, 0.0f, false, 310.0f},
      {"right past the edge", 0, 411.0f, 70.0f, false, -10.0f, true, 0.0f},
      {"left past the edge", 180, -11.0f, 70.0f, false, 410.0f, true, 0.0f},
      {"down and right past both: vertical", 315, 411.0f, 311.0f, true, 0.0f, false, -10.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DS_FallMotion motion;
    motion.size.SetDefault(20);
    motion.SetAngle(c.angle);
    DS_SreamAnim anim = At(motion, c.x, c.y);
    Advance(anim, 0.1f);
    const float x = anim.positionMatrix._41, y = anim.positionMatrix._42;
    if (c.xRandom) {
      EXPECT_GE(x, 0.0f);
      EXPECT_LE(x, 400.0f);
    } else {
      EXPECT_FLOAT_EQ(x, c.wrappedX);
    }
    if (c.yRandom) {
      EXPECT_GE(y, 0.0f);
      EXPECT_LE(y, 300.0f);
    } else {
      EXPECT_FLOAT_EQ(y, c.wrappedY);
    }
  }
}

TEST_F(FallMotion, TimeJumpsCountAsAFifthOfASecondAndTheDriftKeepsWithoutChanges) {
  DS_FallMotion motion;
  motion.SetAngle(270);
  motion.sway.SetDefault(50);
  DS_SreamAnim anim = At(motion, 200.0f, 0.0f);
  anim.drift = 0.5f;
  Advance(anim, 5.0f);
  // 0.2 s: 50 pixels down, and sway x 0.02 x drift = 0.5 of that sideways.
  EXPECT_NEAR(anim.positionMatrix._42, 50.0f, 1e-3f);
  EXPECT_NEAR(std::fabs(anim.positionMatrix._41 - 200.0f), 25.0f, 1e-3f);
  for (int i = 1; i <= 200; ++i) Advance(anim, 5.0f + 0.05f * static_cast<float>(i));
  EXPECT_FLOAT_EQ(anim.drift, 0.5f);  // sway change 0: never
}

TEST_F(FallMotion, LeavesScaleToTheirSizeAndNothingWithoutARadius) {
  DS_FallMotion motion;
  motion.size.SetDefault(40);
  motion.sway.SetDefault(0);
  struct Case {
    float radius;
    uint32_t size;
    float scale;
  } cases[] = {{25.0f, 40, 0.8f}, {0.0f, 40, 0.0f}, {25.0f, 0, 0.0f}};
  for (const Case& c : cases) {
    motion.size.SetDefault(c.size);
    DS_LeafFallAnim leaf(motion);
    const float swingY = leaf.swingY.angle, swingX = leaf.swingX.angle, spinX = leaf.spinX.angle;
    DS_Frame frame;
    frame.scalar = c.radius;
    g_FallClock += 0.1f;
    leaf.Animate(frame);
    // The scale is the length of the world's first row.
    const float s = std::sqrt(frame.world._11 * frame.world._11 + frame.world._12 * frame.world._12 +
                              frame.world._13 * frame.world._13);
    EXPECT_NEAR(s, c.scale, 1e-4f) << c.radius << " " << c.size;
    for (int i = 0; i < 16; ++i) EXPECT_TRUE(std::isfinite(frame.world[i]));
    // Sway 0 keeps the swing angles; the tumbling turns.
    EXPECT_EQ(leaf.swingY.angle, swingY);
    EXPECT_EQ(leaf.swingX.angle, swingX);
    EXPECT_NE(leaf.spinX.angle, spinX);
  }
}

// A record whose entries embed bytes (as older documents may), with the mesh's byte count given.
std::vector<uint8_t> LeavesRecord(uint32_t meshByteCount) {
  DS_IOF_ByteWriter out;
  DS_WriteHeader(out, u"DS_3D_in_2D_array_Constructor", 1);
  out.WriteString(u"leaves");
  out.WriteUInt(6);
  out.WriteInt(204);
  out.WriteString(u"common_res.dll");
  out.WriteUInt(meshByteCount);
  for (uint8_t b : {1, 2, 3, 4, 5}) out.WriteByte(b);
  out.WriteString(u"leaf.x");
  DS_ResourceEntry picture(205, u"pictures.dll");
  picture.SetData(3, "abc");
  picture.name = u"leaf.png";
  out.WriteResourceEntry(picture);
  for (uint32_t v : {40u, 50u, 30u, 0u, 100u, 270u}) out.WriteUInt(v);
  DS_WriteHeader(out, u"DS_ABObj_Constructor", 1);
  out.WriteString(u"leaves");
  return out.TakeBytes();
}

std::unique_ptr<DS_ABObj_Constructor> ReadLeaves(const std::vector<uint8_t>& bytes, size_t& left) {
  ResourceBuffer buffer(bytes.data(), bytes.size());
  DS_DocumentReader reader(&buffer);
  auto object = ReadConstructorObject(reader);
  left = buffer.Remaining();
  return object;
}

TEST(FallingObjectsRecord, EmbeddedEntryBytesReadAndWriteBackAsStored) {
  const std::vector<uint8_t> bytes = LeavesRecord(5);
  size_t left = 1;
  const auto object = ReadLeaves(bytes, left);
  EXPECT_EQ(left, 0u);
  const auto* set = dynamic_cast<const DS_3D_in_2D_array_Constructor*>(object.get());
  ASSERT_NE(set, nullptr);
  EXPECT_EQ(set->meshEntry.resourceId, 204);
  EXPECT_EQ(set->meshEntry.libraryPath, u"common_res.dll");
  EXPECT_EQ(set->meshEntry.bytes, (std::vector<uint8_t>{1, 2, 3, 4, 5}));
  EXPECT_EQ(set->meshEntry.name, u"leaf.x");
  EXPECT_EQ(set->textureEntry.resourceId, 205);
  EXPECT_EQ(set->textureEntry.bytes, (std::vector<uint8_t>{'a', 'b', 'c'}));
  EXPECT_EQ(set->textureEntry.name, u"leaf.png");
  EXPECT_EQ(set->motion.spin.Get(), 100u);
  // The stored angle turns the axes: 270 moves down the picture.
  EXPECT_EQ(set->motion.angle, 270u);
  EXPECT_NEAR(set->motion.directionAxis.y, 1.0f, 1e-5f);
  DS_IOF_ByteWriter out;
  set->Write(out);
  EXPECT_EQ(out.TakeBytes(), bytes);
}

TEST(FallingObjectsRecord, AByteCountPastTheEndIsRefused) {
  size_t left = 0;
  EXPECT_THROW(ReadLeaves(LeavesRecord(0x7FFFFFFFu), left), DS_DocumentError);
}

using FallingObjects = ObjectDevice;

TEST_F(FallingObjects, ElementsAreFixedAtConstructionCappedAndNoneByDefault) {
  DS_3D_in_2D_array_Constructor set;
  const auto layer = MakeLayer();
  const auto none = set.CreateObject();
  const DS_PixelReadback alone = Draw(*layer, {}, 0.5f);
  EXPECT_EQ(static_cast<DS_3D_in_2D_array&>(*none).ElementCount(), 0u);
  EXPECT_FALSE(static_cast<DS_3D_in_2D_array&>(*none).Geometry().vertexBuffer);  // the empty entry
  EXPECT_EQ(DifferingPixels(alone, Draw(*layer, {none.get()}, 0.5f)), 0);

  set.count.SetDefault(0xFFFFFFFFu);
  EXPECT_EQ(static_cast<DS_3D_in_2D_array&>(*set.CreateObject()).ElementCount(),
            DS_3D_in_2D_array_Constructor::kMaxElements);

  set.count.SetDefault(12);
  set.meshEntry = DS_ResourceEntry(204, u"common_res.dll");
  set.textureEntry = DS_ResourceEntry(205, u"common_res.dll");
  set.motion.size.SetDefault(60);
  const auto leaves = set.CreateObject();
  auto& live = static_cast<DS_3D_in_2D_array&>(*leaves);
  EXPECT_EQ(live.ElementCount(), 12u);
  EXPECT_GT(live.Geometry().triangleCount, 0);
  EXPECT_TRUE(live.Geometry().texture);
  EXPECT_GT(live.Geometry().scalar, 0.0f);
  for (const DS_Frame* child : live.Geometry().children) {
    EXPECT_EQ(child->scalar, live.Geometry().scalar);
    EXPECT_FLOAT_EQ(child->local._41, -live.Geometry().position.x);
  }
  static_cast<DS_3D_in_2D_array_Constructor&>(*live.Control()).count.Set(3);
  EXPECT_EQ(live.ElementCount(), 12u);  // no listener: the count is fixed
  EXPECT_GT(DifferingPixels(alone, Draw(*layer, {leaves.get()}, 0.5f)), 0);
  EXPECT_FLOAT_EQ(g_FallClock, 0.5f);
}

}  // namespace
