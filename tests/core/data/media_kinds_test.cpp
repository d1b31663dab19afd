// Parameter kinds: scaled values and their derived numbers, the speed's phase, the conversion
// of out-of-range floats, rectangles, and the stored forms of the kinds.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/data/media_kinds.h"
#include "tests/support/test_bytes.h"

namespace {

class Counter final : public MediaControl {
 public:
  void OnChanged(MediaControl*) override { ++calls; }
  int calls = 0;
};

TEST(FloatConversion, OutOfRangeAndNaNValues) {
  struct Case {
    float value;
    uint8_t lowByte;
  };
  const float inf = std::numeric_limits<float>::infinity();
  for (const Case c : {Case{std::nanf(""), 0}, Case{inf, 0xFF}, Case{-inf, 0x00}, Case{1e12f, 0xFF},
                       Case{-1e12f, 0x00}, Case{-2.55f, 0xFE}, Case{382.5f, 126}, Case{127.5f, 127}, Case{-0.5f, 0}}) {
    EXPECT_EQ(DS_FloatToLowByte(c.value), c.lowByte) << c.value;
  }
  EXPECT_EQ(DS_FloatToInt32(1e12f), INT32_MAX);
  EXPECT_EQ(DS_FloatToInt32(-1e12f), INT32_MIN);
  EXPECT_EQ(DS_FloatToInt32(-7.9f), -7);
}

TEST(ScaledParam, DerivedValuesFollowTheValue) {
  UINTSclaleTo<uint8_t> alpha;
  alpha.SetScale(-2.55f, 255.0f);
  struct Case {
    uint32_t value;
    uint8_t derived;
  };
  // 101 % transparency and more give negative sums: their low byte, never undefined behaviour.
  for (const Case c : {Case{100, 0}, Case{0, 255}, Case{50, 127}, Case{101, 0xFE}, Case{255, 0x75}}) {
    alpha.Set(c.value);
    EXPECT_EQ(alpha.Derived(), c.derived) << c.value;
  }
  alpha.Set(4294967295u);  // huge: clamped, no undefined behaviour
  EXPECT_EQ(alpha.Derived(), 0x00);

  UINTSclaleTo<float> zoom;
  zoom.SetScale(0.01f, 0.0f);
  zoom.Set(120);
  EXPECT_FLOAT_EQ(zoom.Derived(), 1.2f);
  UINTSclaleTo<float> unit;
  unit.Set(4294967295u);  // as unsigned, not -1
  EXPECT_FLOAT_EQ(unit.Derived(), 4294967295.0f);

  // The history is the first observer, the self-watching part the second.
  ASSERT_EQ(zoom.Observers().size(), 2u);
  EXPECT_EQ(zoom.Observers()[0], &zoom.History());
  zoom.History().Record();
  zoom.Set(300);
  zoom.History().Undo();
  EXPECT_EQ(zoom.Get(), 120u);
  EXPECT_FLOAT_EQ(zoom.Derived(), 1.2f);  // undo notifies the derived part

  UINTSclaleTo<float> copy(zoom);
  EXPECT_EQ(copy.Get(), 120u);
  EXPECT_FLOAT_EQ(copy.Derived(), 1.2f);
  EXPECT_EQ(copy.History().Captured(), 120u);
}

TEST(ScaledParam, ReadingUsesTheChangingConvention) {
  const auto bytes = TestBytes().U32(150).bytes;
  ResourceBuffer buffer(bytes.data(), bytes.size());
  DS_DocumentReader reader(&buffer);
  MediaFloat<uint32_t> speed;
  speed.SetScale(0.02f, 0.0f);
  Counter listener;
  speed.Attach(&listener);
  speed.ReadValue(reader);
  EXPECT_FLOAT_EQ(speed.Derived(), 3.0f);
  EXPECT_EQ(listener.calls, 1);
  speed.Remove(&listener);
}

TEST(SpeedParam, PhaseFollowsFrameTimeWithTheCap) {
  MediaSpeedParam speed;
  speed.SetScale(0.02f, 0.0f);
  speed.Set(50);  // 1 unit per second
  speed.Update(0.0f);
  EXPECT_EQ(speed.Phase(), 0.0f);
  speed.Update(0.1f);
  EXPECT_NEAR(speed.Phase(), 0.1f, 1e-6f);
  speed.Update(0.1f);  // same time: nothing
  EXPECT_NEAR(speed.Phase(), 0.1f, 1e-6f);
  speed.Update(5.1f);  // a 5 s jump counts as 0.2 s
  EXPECT_NEAR(speed.Step(), 0.2f, 1e-6f);
  EXPECT_NEAR(speed.Phase(), 0.3f, 1e-6f);
  speed.Update(2.0f);  // time went back: nothing, and restart from there
  EXPECT_EQ(speed.Step(), 0.0f);
  EXPECT_EQ(speed.LastTime(), 2.0f);
  speed.Update(2.05f);
  EXPECT_NEAR(speed.Phase(), 0.35f, 1e-5f);
  speed.Set(100);
  speed.Update(2.15f);
  EXPECT_NEAR(speed.Step(), 0.2f, 1e-5f);
}

TEST(Rectangle, InclusiveEdgesAndDirectReads) {
  MediaRectangle rect;
  const auto bytes = TestBytes().I32(10).I32(20).I32(30).I32(40).I32(7).I32(8).bytes;
  ResourceBuffer buffer(bytes.data(), bytes.size());
  DS_DocumentReader reader(&buffer);
  Counter listener;
  rect.left.Attach(&listener);
  rect.ReadFields(reader);
  EXPECT_EQ(listener.calls, 0);  // stored directly: listeners are not told
  EXPECT_EQ(rect.right.Get(), 20);
  EXPECT_EQ(rect.top.Get(), 30);
  EXPECT_EQ(rect.further1.Get(), 7);
  EXPECT_TRUE(rect.ContainsPicturePoint(10.0f, 30.0f));
  EXPECT_TRUE(rect.ContainsPicturePoint(20.0f, 40.0f));
  EXPECT_FALSE(rect.ContainsPicturePoint(20.01f, 35.0f));
  EXPECT_FALSE(rect.ContainsPicturePoint(15.0f, 29.9f));

  DS_IOF_ByteWriter out;
  rect.WriteFields(out);
  EXPECT_EQ(out.Bytes(), bytes);

  MediaRectangle copy(rect);
  EXPECT_EQ(copy.bottom.Get(), 40);
  EXPECT_EQ(copy.left.Observers().size(), 1u);  // a fresh history only
  MediaRectangle assigned;
  assigned = rect;
  EXPECT_EQ(assigned.left.History().Captured(), 10);
  rect.left.Remove(&listener);

  MediaRectangle inverted;
  inverted.left.SetDefault(50);
  inverted.right.SetDefault(10);
  inverted.bottom.SetDefault(100);
  for (float x : {10.0f, 30.0f, 50.0f}) EXPECT_FALSE(inverted.ContainsPicturePoint(x, 50.0f));
}

TEST(Kinds, StoredFormsAndDefaults) {
  FontMediaParam font;
  EXPECT_EQ(font.faceName, u"Arial");
  EXPECT_EQ(font.height, 32);
  EXPECT_EQ(font.weight, 700u);
  // An empty stored face keeps "Arial", and so does a face cut to nothing at its first unit (the
  // document fuzzer's finding: it read as no face, which writes as the empty face).
  const auto bytes = TestBytes()
                         .I32(20).U32(400).I32(1).Str(u"")
                         .F32(1).F32(2).F32(3).F32(4).F32(5).F32(6).F32(7).F32(8).F32(9).F32(10).F32(11).F32(12)
                         .U32(0x00FF8040)
                         .bytes;
  ResourceBuffer buffer(bytes.data(), bytes.size());
  DS_DocumentReader reader(&buffer);
  font.ReadFields(reader);
  EXPECT_EQ(font.height, 20);
  EXPECT_EQ(font.italic, 1);
  EXPECT_EQ(font.faceName, u"Arial");
  for (const std::u16string& stored : {std::u16string(u"\0Times", 6), std::u16string(u"Times")}) {
    FontMediaParam read;
    const auto face = TestBytes().I32(20).U32(400).I32(0).Str(stored).bytes;
    ResourceBuffer faceBuffer(face.data(), face.size());
    DS_DocumentReader faceReader(&faceBuffer);
    read.ReadFields(faceReader);
    EXPECT_EQ(read.faceName, stored[0] == 0 ? u"Arial" : stored);
    DS_IOF_ByteWriter out;
    read.WriteFields(out);
    FontMediaParam again;
    const std::vector<uint8_t> written = out.TakeBytes();
    ResourceBuffer writtenBuffer(written.data(), written.size());
    DS_DocumentReader writtenReader(&writtenBuffer);
    again.ReadFields(writtenReader);
    EXPECT_EQ(again.faceName, read.faceName);
  }
  MediaQuad quad;
  quad.ReadFields(reader);
  EXPECT_EQ(quad.corners[0].Get(), (DS_Vector3{1, 2, 3}));
  EXPECT_EQ(quad.corners[3].Get(), (DS_Vector3{10, 11, 12}));
  MediaColor colour;
  colour.ReadValue(reader);
  EXPECT_EQ(colour.ToArgb(0x80), 0x804080FFu);  // red is the lowest byte of the stored word

  DS_IOF_ByteWriter out;
  font.faceName = u"";
  font.WriteFields(out);
  quad.WriteFields(out);
  colour.WriteValue(out);
  EXPECT_EQ(out.Bytes(), bytes);
}

TEST(Kinds, DirectionAxes) {
  MediaDirection direction;
  EXPECT_FLOAT_EQ(direction.XAxis().x, 1.0f);
  direction.SetDefault(90);
  direction.UpdateAxes();
  EXPECT_NEAR(direction.XAxis().x, 0.0f, 1e-6f);
  EXPECT_NEAR(direction.XAxis().y, 1.0f, 1e-6f);
  EXPECT_NEAR(direction.YAxis().x, -1.0f, 1e-6f);
  EXPECT_NEAR(direction.YAxis().y, 0.0f, 1e-6f);
}

}  // namespace
