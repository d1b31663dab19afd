// The records of the effect-drawn objects' bases (the effect link level, the effect-object
// levels) in every version they read, and the one-time centring of a set made by hand.
#include <gtest/gtest.h>

#include "objects/base_fx_objects/ds_stat_base_fx_ctrl.h"
#include "tests/objects/particle_test_support.h"

namespace {

// The smallest concrete set on the effect-object base.
struct ProbeFX final : DS_StatBaseFXCtrl {
  std::unique_ptr<DS_ParticleSystemCtrl> Clone() const override { return std::make_unique<ProbeFX>(*this); }
#ifdef _WIN32
  bool PrepareRender(DS_2D_Light&) override { return true; }
#endif
};

// A current sprite record with count 3 and the rest at its defaults.
TestBytes& AppendSpriteRecord(TestBytes& b) {
  b.Header(u"DS_BaseSpriteProp", 6);
  AppendViewPart(b);
  b.U32(3).U32(0).U32(0).I32(0).U32(0x00FFFFFF);
  b.F32(0.0f).F32(0.0f).F32(1.0f).F32(1.0f).F32(1.0f);
  b.Key(u"", 0).Key(u"", 0);
  return b.U32(1).F32(0.0f).U32(1).F32(0.0f).U8(0).I32(0).I32(0).I32(0).I32(0);
}

// "DS_StatBaseFXCtrl" of `version` around the two nested levels, the effect naming 97.
TestBytes StatBaseRecord(uint32_t version) {
  TestBytes b;
  b.Header(u"DS_StatBaseFXCtrl", version).F32(120.0f).F32(80.0f).F32(2.0f);
  if (version >= 2) b.U32(40).U32(300);
  b.Header(u"DS_BaseFXCtrl", 1);
  b.Header(u"DS_FXParticleSystemCtrl", 1).Key(u"common_res.dll", 97);
  return AppendSpriteRecord(b);
}

TEST(StatBaseFXRecord, EachVersionReadsItsFieldsAndTheNestedLevels) {
  const struct {
    uint32_t version;
    uint32_t height, width;
  } cases[] = {{1, 7, 9}, {2, 40, 300}};  // version 1 keeps the box the set had
  for (const auto& c : cases) {
    SCOPED_TRACE(c.version);
    PictureSizeScope picture(640, 480);
    ProbeFX set;
    set.boxHeight.Set(7);
    set.boxWidth.Set(9);
    ASSERT_TRUE(ReadsWhole(StatBaseRecord(c.version).bytes, [&](DS_IOF_Virtual& in) { set.ReadBaseRecord(in); }));
    EXPECT_EQ(set.centre.Get(), (DS_Vector3{120.0f, 80.0f, 2.0f}));
    EXPECT_EQ(set.boxHeight.Get(), c.height);
    EXPECT_EQ(set.boxWidth.Get(), c.width);
    EXPECT_EQ(set.effectLink.Key(), (DS_ResourceKey{u"common_res.dll", 97}));
    EXPECT_EQ(set.count.Get(), 3u);
  }
}

TEST(StatBaseFXRecord, TheCurrentVersionReadsBackToItsOwnBytes) {
  ProbeFX set;
  ASSERT_TRUE(ReadsWhole(StatBaseRecord(2).bytes, [&](DS_IOF_Virtual& in) { set.ReadBaseRecord(in); }));
  DS_IOF_ByteWriter out;
  set.WriteBaseRecord(out);
  EXPECT_EQ(out.TakeBytes(), StatBaseRecord(2).bytes);
}

TEST(StatBaseFXRecord, CutShortStopsWithTheDocumentError) {
  for (uint32_t version : {1u, 2u}) {
    const std::vector<uint8_t> whole = StatBaseRecord(version).bytes;
    for (size_t size = 0; size < whole.size(); ++size) {
      const std::vector<uint8_t> prefix(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
      ProbeFX set;
      EXPECT_THROW(ReadsWhole(prefix, [&](DS_IOF_Virtual& in) { set.ReadBaseRecord(in); }), DS_DocumentError)
          << "version " << version << ", " << size << " bytes";
    }
  }
}

TEST(StatBaseFXPlacement, ASetNotYetPlacedIsCentredOnceAndAReadSetKeepsItsCentre) {
  PictureSizeScope picture(800, 600);
  ProbeFX set;  // made while the picture is 800 x 600
  EXPECT_EQ(set.centre.Get(), (DS_Vector3{400.0f, 300.0f, 0.0f}));
  set.centre.Set(DS_Vector3{10.0f, 20.0f, 5.0f});

  set.PlaceOnce();  // read sets carry the flag: the stored centre stays
  EXPECT_EQ(set.centre.Get(), (DS_Vector3{10.0f, 20.0f, 5.0f}));

  set.placed = false;
  PictureSizeScope smaller(320, 200);
  set.PlaceOnce();
  EXPECT_EQ(set.centre.Get(), (DS_Vector3{160.0f, 100.0f, 5.0f}));  // z unchanged
  EXPECT_TRUE(set.placed);

  set.centre.Set(DS_Vector3{1.0f, 2.0f, 3.0f});
  set.PlaceOnce();  // only once
  EXPECT_EQ(set.centre.Get(), (DS_Vector3{1.0f, 2.0f, 3.0f}));
}

TEST(FXParticleRecord, TheEffectLinkComesBeforeTheSpriteRecord) {
  TestBytes b;
  b.Header(u"DS_FXParticleSystemCtrl", 1).Key(u"effects.dll", 200);
  AppendSpriteRecord(b);
  ProbeFX set;
  ASSERT_TRUE(ReadsWhole(b.bytes, [&](DS_IOF_Virtual& in) { set.DS_FXParticleSystemCtrl::ReadBaseRecord(in); }));
  EXPECT_EQ(set.effectLink.Key(), (DS_ResourceKey{u"effects.dll", 200}));
  EXPECT_EQ(set.count.Get(), 3u);
  DS_IOF_ByteWriter out;
  set.DS_FXParticleSystemCtrl::WriteBaseRecord(out);
  EXPECT_EQ(out.TakeBytes(), b.bytes);
}


std::vector<DS_ResourceKey> g_CarriedResources, g_CarriedPictures;

TEST(FXParticleRecord, WritingTheEffectLinkCarriesANamedEffectOnce) {
  const struct {
    DS_ResourceKey key;
    std::vector<DS_ResourceKey> carried;
  } cases[] = {{{u"common_res.dll", 97}, {{u"common_res.dll", 97}}}, {{u"", 5}, {}}};
  DS_SetFileLinkWriteHooks([](const DS_ResourceKey& key) { g_CarriedResources.push_back(key); },
                           [](const DS_ResourceKey& key) { g_CarriedPictures.push_back(key); });
  for (const auto& c : cases) {
    SCOPED_TRACE(DsToUtf8(c.key.name));
    g_CarriedResources.clear();
    g_CarriedPictures.clear();
    ProbeFX set;
    set.effectLink.StoreKey(c.key);
    DS_IOF_ByteWriter out;
    set.DS_FXParticleSystemCtrl::WriteBaseRecord(out);
    EXPECT_EQ(g_CarriedResources, c.carried);
    EXPECT_TRUE(g_CarriedPictures.empty()) << "the effect is not a picture, and the sprite's pictures name none";
  }
  DS_SetFileLinkWriteHooks(nullptr, nullptr);
}

}  // namespace
