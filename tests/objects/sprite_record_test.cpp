// The sprite properties' record in every version, the still picture's older record, the links
// and the frame arithmetic that a stored record can break.
#include <gtest/gtest.h>

#include "objects/discharge/ds_discharge_constructor.h"
#include "objects/flower/ds_flower_constructor.h"
#include "objects/stat_obj/ds_stat_obj_constructor.h"
#include "tests/objects/particle_test_support.h"

namespace {

const std::vector<uint8_t> kLegacyPicture = {1, 2, 3, 4};

// A sprite record of the given version with a value of its own in every field.
TestBytes SpriteRecord(uint32_t version) {
  TestBytes b;
  b.Header(u"DS_BaseSpriteProp", version);
  AppendViewPart(b);
  b.U32(7);                         // count
  if (version <= 2) b.U32(80);      // the view part's speed
  b.U32(40).U32(100).I32(2).U32(0x00332211);
  b.F32(0.5f).F32(0.1f).F32(0.9f).F32(1.0f).F32(2.0f);
  if (version >= 2) {
    b.Key(u"common_res.dll", 212).Key(u"glow.png", 3);
  } else {
    b.U32(1).Entry(0, u"", kLegacyPicture, u"a.png");
    b.Entry(0, u"", kLegacyPicture, u"overlay.png");
  }
  b.U32(9).F32(0.25f).U32(4).F32(8.0f).U8(1);
  if (version == 1) return b.U32(2).F32(0.1f).F32(0.2f);
  if (version >= 4) b.I32(1);
  if (version >= 5) b.I32(1).I32(1);
  if (version >= 6) b.I32(1);
  return b;
}

TEST(SpriteRecord, EveryVersionReadsItsFieldsAndKeepsTheDefaultsOfTheOthers) {
  for (uint32_t version = 1; version <= 6; ++version) {
    SCOPED_TRACE(version);
    SpriteSet set;
    ASSERT_TRUE(ReadsWhole(SpriteRecord(version).bytes, [&](DS_IOF_Virtual& in) { set.ReadObject(in); }));
    EXPECT_EQ(set.count.Get(), 7u);
    EXPECT_EQ(set.speed.Get(), version <= 2 ? 80u : 50u);
    EXPECT_EQ(set.baseSize.Get(), 40u);
    EXPECT_EQ(set.Opacity(), 0u);  // transparency 100
    EXPECT_EQ(set.blendMode.Get(), 2);
    EXPECT_EQ(set.colour.Get(), 0x00332211u);
    EXPECT_FLOAT_EQ(set.sizeMax, 2.0f);
    EXPECT_EQ(set.sheetFrameCount, 4u);
    EXPECT_FLOAT_EQ(set.sheetFrameRate, 8.0f);
    EXPECT_TRUE(set.sheetAnimation);
    EXPECT_EQ(set.image.Key().stamp, version >= 2 ? 212 : 0);
    EXPECT_EQ(set.legacyImages.size(), version == 1 ? 1u : 0u);
    EXPECT_EQ(set.legacyOverlay.bytes.size(), version == 1 ? 4u : 0u);
    EXPECT_EQ(set.legacyFrameTimes.size(), version == 1 ? 2u : 0u);
    EXPECT_EQ(set.imageSource, version >= 4 ? 1 : 0);
    EXPECT_EQ(set.flipVertical.Get(), version >= 5 ? 1 : 0);
    EXPECT_EQ(set.flipHorizontal.Get(), version >= 5 ? 1 : 0);
    EXPECT_EQ(set.staticGeometry.Get(), version >= 6 ? 1 : 0);
  }
}

TEST(SpriteRecord, TransparencySetsTheAlphaByte) {
  const struct {
    uint32_t percent;
    unsigned alpha;
  } cases[] = {{0, 255}, {50, 127}, {100, 0}};
  for (const auto& c : cases) {
    SpriteSet set;
    set.transparency.Set(c.percent);
    EXPECT_EQ(set.Opacity(), c.alpha) << c.percent;
  }
}

TEST(SpriteRecord, TheCurrentRecordReadsBackToItsOwnBytes) {
  SpriteSet set;
  ASSERT_TRUE(ReadsWhole(SpriteRecord(6).bytes, [&](DS_IOF_Virtual& in) { set.ReadObject(in); }));
  DS_IOF_ByteWriter out;
  set.WriteObject(out);
  EXPECT_EQ(out.TakeBytes(), SpriteRecord(6).bytes);
}

TEST(SpriteRecord, CutShortStopsWithTheDocumentError) {
  for (uint32_t version : {1u, 3u, 6u}) {
    const std::vector<uint8_t> whole = SpriteRecord(version).bytes;
    for (size_t size = 0; size < whole.size(); ++size) {
      const std::vector<uint8_t> prefix(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
      SpriteSet set;
      EXPECT_THROW(ReadsWhole(prefix, [&](DS_IOF_Virtual& in) { set.ReadObject(in); }), DS_DocumentError)
          << "version " << version << ", " << size << " bytes";
    }
  }
}

TEST(SpriteRecord, AHostileLegacyCountStopsBeforeAnythingIsMade) {
  // The legacy entry count sits after the five floats; make it claim 2^32 - 1 entries.
  TestBytes head;
  head.Header(u"DS_BaseSpriteProp", 1);
  AppendViewPart(head);
  head.U32(7).U32(80).U32(40).U32(100).I32(2).U32(0x00332211);
  head.F32(0.5f).F32(0.1f).F32(0.9f).F32(1.0f).F32(2.0f);
  head.U32(0xFFFFFFFFu);
  SpriteSet set;
  EXPECT_THROW(ReadsWhole(head.bytes, [&](DS_IOF_Virtual& in) { set.ReadObject(in); }), DS_DocumentError);
}

// A still-picture record of the given version around a nested sprite record.
TestBytes StatObjRecord(uint32_t version, uint32_t spriteVersion, int32_t flipV, int32_t flipH) {
  TestBytes b;
  b.Header(u"DS_StatObjConstructor", version);
  b.I32(350).I32(450).I32(275).I32(325).I32(400).I32(300).U32(90);
  if (version == 1) b.I32(flipV).I32(flipH);
  return b.Raw(SpriteRecord(spriteVersion).bytes);
}

TEST(StatObjRecord, VersionOneCarriesTheFlipsForAnOlderSpriteRecord) {
  const struct {
    uint32_t version, spriteVersion;
    int32_t flipV, flipH;
    int32_t expectV, expectH;
  } cases[] = {
      {1, 3, 1, 0, 1, 0},  // the older sprite record leaves the flips as the still picture read them
      {1, 4, 0, 1, 0, 1},
      {1, 6, 0, 0, 1, 1},  // a sprite record with flips has the last word
      {2, 3, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "version " << c.version << ", sprite " << c.spriteVersion);
    const std::vector<uint8_t> bytes = StatObjRecord(c.version, c.spriteVersion, c.flipV, c.flipH).bytes;
    ResourceBuffer buffer(bytes.data(), bytes.size());
    DS_DocumentReader reader(&buffer);
    DS_StatObjConstructor set;
    set.ReadBaseRecord(reader);
    EXPECT_EQ(buffer.Remaining(), 0u);
    EXPECT_EQ(set.rotation.Get(), 90u);
    EXPECT_EQ(set.placement.further1.Get(), 400);
    EXPECT_EQ(set.flipVertical.Get(), c.expectV);
    EXPECT_EQ(set.flipHorizontal.Get(), c.expectH);
  }
}

TEST(StatObjRecord, FlowerAndDischargeNestTheStillPictureRecord) {
  TestBytes flower;
  flower.F32(4.5f).Raw(StatObjRecord(2, 6, 0, 0).bytes);
  DS_FlowerConstructor f;
  EXPECT_TRUE(ReadsWhole(flower.bytes, [&](DS_IOF_Virtual& in) { f.ReadFields(in, 1); }));
  EXPECT_FLOAT_EQ(f.swayAmplitude, 4.5f);
  EXPECT_EQ(f.placement.further2.Get(), 300);
  EXPECT_EQ(f.count.Get(), 7u);

  DS_DischargeConstructor d;
  EXPECT_TRUE(ReadsWhole(StatObjRecord(1, 2, 1, 1).bytes, [&](DS_IOF_Virtual& in) { d.ReadFields(in, 1); }));
  EXPECT_EQ(d.flipVertical.Get(), 1);
  EXPECT_EQ(d.speed.Get(), 80u);
}

TEST(SheetFrames, AStoredFrameCountOfZeroCountsAsOne) {
  SpriteSet set;
  set.sheetFrameCount = 0;
  set.sheetAnimation = true;
  EXPECT_EQ(set.NextFrame(0), 0u);
  EXPECT_EQ(set.NextFrame(5), 0u);
  set.sheetFrameCount = 3;
  EXPECT_EQ(set.NextFrame(1), 2u);
  EXPECT_EQ(set.NextFrame(2), 0u);
}

TEST(SheetFrames, TheDischargePicksAnotherFrameAndStopsWithFewerThanTwo) {
  DS_DischargeConstructor set;
  set.random = ScriptedRandom::Draw;
  set.sheetAnimation = true;
  for (uint32_t frames : {0u, 1u}) {
    set.sheetFrameCount = frames;
    ScriptedRandom::Play({0, 1, 2});
    EXPECT_EQ(set.NextFrame(0), 0u) << frames << " frames";
  }
  set.sheetFrameCount = 4;
  ScriptedRandom::Play({8, 12, 6});  // 0, 0, then 2
  EXPECT_EQ(set.NextFrame(0), 2u);
  // A source that repeats the current frame for ever still moves on.
  ScriptedRandom::Play({5});
  EXPECT_EQ(set.NextFrame(1), 2u);
}

}  // namespace
