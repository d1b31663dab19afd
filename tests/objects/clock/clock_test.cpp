// The clock: the hands' angles from the local time, the placement square derived from size and
// centre, and the hands and face placed in the picture through the whole frame tree at a local
// time set through the clock's calendar source.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "objects/clock/clock_time.h"
#include "objects/clock/ds_clock_constructor.h"
#include "tests/objects/object_device.h"

namespace {

struct tm LocalTime(int hour, int minute, int second) {
  struct tm t = {};
  t.tm_year = 2026 - 1900;
  t.tm_mon = 0;
  t.tm_mday = 15;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  t.tm_isdst = -1;
  return t;
}

TEST(ClockHands, AnglesFollowTheLocalTime) {
  struct Case {
    int h, m, s;
    float hour, minute;
  } cases[] = {
      {3, 30, 0, 105.0f, 180.0f},  {15, 0, 0, 90.0f, 0.0f},    {0, 0, 0, 0.0f, 0.0f},
      {12, 0, 30, 0.0f, 3.0f},     {11, 59, 30, 359.5f, 357.0f}, {9, 45, 15, 292.5f, 271.5f},
  };
  for (const Case& c : cases) {
    const struct tm t = LocalTime(c.h, c.m, c.s);
    EXPECT_FLOAT_EQ(HourHandDegrees(t), c.hour) << c.h << ":" << c.m << ":" << c.s;
    EXPECT_FLOAT_EQ(MinuteHandDegrees(t), c.minute) << c.h << ":" << c.m << ":" << c.s;
  }
}

__time64_t g_Fixed = 0;
__time64_t FixedTime() { return g_Fixed; }

class Clocks : public ObjectDevice {
 protected:
  void TearDown() override {
    SetClockCalendarSource(nullptr);
    ObjectDevice::TearDown();
  }
  static std::unique_ptr<DS_3DObjArray> LiveOf(const DS_ClockConstructor& set) {
    return std::unique_ptr<DS_3DObjArray>(static_cast<DS_3DObjArray*>(set.CreateObject().release()));
  }
  static DS_ClockConstructor& ClockOf(DS_3DObjArray& live) { return static_cast<DS_ClockConstructor&>(live.Ctrl()); }
};

TEST_F(Clocks, ThePlacementIsASquareOfTheSizeAroundTheCentre) {
  struct Case {
    int w, h;
    uint32_t size;
    int cx, cy, left, right, top, bottom;
  } cases[] = {
      {1024, 768, 400, 512, 384, 312, 712, 184, 584},
      {1024, 768, 401, 512, 384, 312, 712, 184, 584},  // the halving drops the remainder
      {1023, 767, 100, 511, 383, 461, 561, 333, 433},
  };
  for (const Case& c : cases) {
    SetPictureSize(c.w, c.h);
    DS_ClockConstructor set;
    set.size.SetDefault(c.size);
    EXPECT_EQ(set.placement.further1.Get(), c.cx);
    EXPECT_EQ(set.placement.further2.Get(), c.cy);
    EXPECT_EQ(set.placement.left.Get(), 0);  // derived only by a live clock
    const auto live = LiveOf(set);
    const MediaRectangle& p = ClockOf(*live).placement;
    EXPECT_EQ(p.left.Get(), c.left);
    EXPECT_EQ(p.right.Get(), c.right);
    EXPECT_EQ(p.top.Get(), c.top);
    EXPECT_EQ(p.bottom.Get(), c.bottom);
  }
  // Changes on the live clone move the square at once.
  SetPictureSize(1024, 768);
  DS_ClockConstructor set;
  const auto live = LiveOf(set);
  DS_ClockConstructor& clone = ClockOf(*live);
  clone.size.Set(200);
  EXPECT_EQ(clone.placement.left.Get(), 412);
  EXPECT_EQ(clone.placement.bottom.Get(), 484);
  clone.placement.further1.Store(100);
  clone.placement.NotifyChanged(nullptr);
  EXPECT_EQ(clone.placement.left.Get(), 0);
  EXPECT_EQ(clone.placement.right.Get(), 200);
}

// Where a model point of the square mesh lands in the picture through a frame's world matrix.
D3DXVECTOR3 Place(const DS_Frame& frame, float x, float z) {
  D3DXVECTOR3 out;
  const D3DXVECTOR3 in(x, 0.0f, z);
  D3DXVec3TransformCoord(&out, &in, &frame.world);
  return out;
}

TEST_F(Clocks, HandsAndFaceLandInThePictureAtTheTimeSet) {
  struct tm t = LocalTime(3, 30, 0);
  g_Fixed = _mktime64(&t);
  SetClockCalendarSource(FixedTime);
  DS_ClockConstructor set;  // size 400 at (512, 384)
  set.count.SetDefault(2);
  const auto live = LiveOf(set);
  live->Update(0.5f);
  const float pi = 3.1415927f;
  for (const auto& element : live->Elements()) {
    const DS_Frame& face = element->Root();
    const DS_Frame& hour = *face.children.front();
    const DS_Frame& minute = *face.children.back();
    // The square's corners: the face is exactly `size` across around the centre, +z up.
    const D3DXVECTOR3 topRight = Place(face, 50.0f, 50.0f), bottomLeft = Place(face, -50.0f, -50.0f);
    EXPECT_NEAR(topRight.x, 712.0f, 0.01f);
    EXPECT_NEAR(topRight.y, 184.0f, 0.01f);
    EXPECT_NEAR(bottomLeft.x, 312.0f, 0.01f);
    EXPECT_NEAR(bottomLeft.y, 584.0f, 0.01f);
    // Tips: the hour hand 100 pixels out at 105 degrees, the minute hand 128 at 180.
    const D3DXVECTOR3 hourTip = Place(hour, 0.0f, 50.0f), minuteTip = Place(minute, 0.0f, 50.0f);
    EXPECT_NEAR(hourTip.x, 512.0f + 100.0f * std::sin(105.0f * pi / 180.0f), 0.05f);
    EXPECT_NEAR(hourTip.y, 384.0f - 100.0f * std::cos(105.0f * pi / 180.0f), 0.05f);
    EXPECT_NEAR(minuteTip.x, 512.0f, 0.05f);
    EXPECT_NEAR(minuteTip.y, 384.0f + 128.0f, 0.05f);
  }
  // Another time moves the hands on the next update.
  t = LocalTime(9, 0, 0);
  g_Fixed = _mktime64(&t);
  live->Update(0.6f);
  const DS_Frame& hour = *live->Elements().front()->Root().children.front();
  EXPECT_NEAR(Place(hour, 0.0f, 50.0f).x, 412.0f, 0.05f);
  EXPECT_NEAR(Place(hour, 0.0f, 50.0f).y, 384.0f, 0.05f);
}

}  // namespace
