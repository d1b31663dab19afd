// Class registries and the record conventions: polymorphic reads by class name, nested base
// parts with their own versions, version-gated fields, lists, unknown names, and round trips.
#include <gtest/gtest.h>

#include "core/data/class_registry.h"
#include "core/layer/layer_registry.h"
#include "scene/slide_registry.h"
#include "tools/fixtures/scene_standins.h"
#include "tests/support/test_bytes.h"

namespace {

struct Reading {
  explicit Reading(const std::vector<uint8_t>& bytes) : buffer(bytes.data(), bytes.size()), reader(&buffer) {}
  size_t Consumed(const std::vector<uint8_t>& bytes) const { return static_cast<size_t>(buffer.cursor - bytes.data()); }
  ResourceBuffer buffer;
  DS_DocumentReader reader;
};

// The sprite's record, laid out by hand: own fields by version, then the view part (with its
// own version) and the innermost base part.
TestBytes& SpriteRecord(TestBytes& b, uint32_t version, uint32_t viewVersion) {
  b.Header(u"VQTest_Sprite", version)
      .U32(0x00332211)  // colour
      .U32(50)          // opacity (transparency 50 %)
      .U32(90)          // direction
      .U8(0)            // visible
      .Str(u"common_res.dll").I64(5)
      .I32(-12).U32(400).I32(1).Str(u"Courier")
      .I32(-3).I32(4);  // anchor point
  if (version >= 2) {
    for (int i = 0; i < 12; ++i) b.F32(static_cast<float>(i));
  }
  if (version >= 3) {
    b.U32(2).U8(0x10).U8(0x20).Str(u"mask.png");
    b.I32(0).Str(u"").U32(1).U8(0x30).Str(u"embedded.png");
  }
  b.Header(u"VQTest_ViewBase", viewVersion).I32(10).I32(20).I32(30).I32(40).I32(5).I32(6).F32(0.75f).U8(2);
  if (viewVersion >= 2) b.U32(100);
  return b.BasePart(u"Fish 1");
}

TEST(BasePart, GoldenFixtureOf64Bytes) {
  const auto bytes = TestBytes().BasePart(u"Fish 1").bytes;
  ASSERT_EQ(bytes.size(), 64u);
  VQTest_Slide slide;
  slide.objectName = u"before";
  Reading r(bytes);
  slide.ReadBase(r.reader);
  EXPECT_EQ(slide.objectName, u"Fish 1");
  EXPECT_EQ(r.Consumed(bytes), 64u);
  EXPECT_TRUE(slide.placed);

  DS_IOF_ByteWriter out;
  slide.WriteObject(out);
  EXPECT_EQ(out.Bytes(), bytes);

  // An empty stored name keeps the name.
  const auto empty = TestBytes().BasePart(u"").bytes;
  Reading e(empty);
  slide.ReadBase(e.reader);
  EXPECT_EQ(slide.objectName, u"Fish 1");
}

TEST(Registry, ReadsARegisteredClassWithNestedVersionedParts) {
  TestBytes b;
  const auto bytes = SpriteRecord(b, 3, 2).U8(0x99).bytes;
  Reading r(bytes);
  auto object = ReadConstructorObject(r.reader);
  auto* sprite = dynamic_cast<VQTest_Sprite*>(object.get());
  ASSERT_NE(sprite, nullptr);
  EXPECT_EQ(r.Consumed(bytes), bytes.size() - 1);
  EXPECT_EQ(sprite->colour.Get(), 0x00332211u);
  EXPECT_EQ(sprite->opacity.Get(), 50u);
  EXPECT_EQ(sprite->opacity.Derived(), 127);  // read through the changing convention
  EXPECT_EQ(sprite->direction.Get(), 90u);
  EXPECT_NEAR(sprite->direction.XAxis().y, 1.0f, 1e-6f);
  EXPECT_FALSE(sprite->visible);
  EXPECT_EQ(sprite->picture.Key(), (DS_ResourceKey{u"common_res.dll", 5}));
  EXPECT_EQ(sprite->font.height, -12);
  EXPECT_EQ(sprite->font.faceName, u"Courier");
  EXPECT_EQ(sprite->anchor.Get(), (DS_Point{-3, 4}));
  EXPECT_EQ(sprite->quad.corners[3].Get(), (DS_Vector3{9, 10, 11}));
  EXPECT_EQ(sprite->mask.bytes, (std::vector<uint8_t>{0x10, 0x20}));
  EXPECT_EQ(sprite->resource.name, u"embedded.png");
  EXPECT_EQ(sprite->rect.left.Get(), 10);
  EXPECT_EQ(sprite->rect.right.Get(), 20);
  EXPECT_EQ(sprite->rect.top.Get(), 30);
  EXPECT_EQ(sprite->rect.bottom.Get(), 40);
  EXPECT_EQ(sprite->rect.further2.Get(), 6);
  EXPECT_EQ(sprite->fraction, 0.75f);
  EXPECT_EQ(sprite->flagByte, 2);
  EXPECT_FLOAT_EQ(sprite->speed.Derived(), 2.0f);
  EXPECT_EQ(sprite->objectName, u"Fish 1");
  EXPECT_TRUE(sprite->placed);  // not stored
}

TEST(Registry, VersionGatesKeepDefaultsOfAbsentFields) {
  TestBytes b;
  const auto bytes = SpriteRecord(b, 1, 1).bytes;
  Reading r(bytes);
  auto object = ReadConstructorObject(r.reader);
  auto* sprite = dynamic_cast<VQTest_Sprite*>(object.get());
  ASSERT_NE(sprite, nullptr);
  EXPECT_EQ(r.Consumed(bytes), bytes.size());
  EXPECT_EQ(sprite->quad.corners[3].Get(), (DS_Vector3{0, 0, 0}));
  EXPECT_FALSE(sprite->mask.HasBytes());
  EXPECT_EQ(sprite->speed.Get(), 0u);  // the view part's version 1 has no speed
  EXPECT_EQ(sprite->objectName, u"Fish 1");
}

TEST(Registry, UnknownNamesConsumeOnlyTheHeader) {
  for (const std::u16string name : {u"vqtest_sprite", u"VQTest_Sprite ", u"DS_UnderwaterFX", u"", u"DS_ViewObjCtrl"}) {
    const auto bytes = TestBytes().Header(name, 3).U32(0xABCDEF01).bytes;
    Reading r(bytes);
    EXPECT_EQ(ReadConstructorObject(r.reader), nullptr);
    EXPECT_EQ(r.Consumed(bytes), bytes.size() - 4) << DsToUtf8(name);
  }
  // The layer and slide registries hold none of the test classes.
  EXPECT_EQ(GetLightReaderMap().count(u"VQTest_Slide"), 0u);
  EXPECT_EQ(GetSlideReaderMap().count(u"VQTest_Slide"), 0u);
  EXPECT_EQ(GetConstructorReaderMap().count(u"VQTest_Slide"), 1u);
}

// A registry over a test base class, filled at run time: created empty on first use, one entry
// per class however often its initialiser runs.
struct TestBase {
  virtual ~TestBase() = default;
  uint32_t version = 0;
};
struct TestKindA : TestBase {
  void ReadFields(DS_IOF_Virtual& in, uint32_t v) {
    version = v;
    in.ReadInt(value);
  }
  int32_t value = 0;
};
DS_ReaderMap<TestBase>& TestRegistry() {
  static DS_ReaderMap<TestBase> registry;
  return registry;
}

TEST(Registry, RegistrationOnFirstUseAndOnce) {
  EXPECT_TRUE(TestRegistry().empty());
  DS_ClassRegistration<TestKindA, TestBase> first(&TestRegistry, u"TestKindA");
  DS_ClassRegistration<TestKindA, TestBase> again(&TestRegistry, u"TestKindA");
  ASSERT_EQ(TestRegistry().size(), 1u);
  const auto bytes = TestBytes().Header(u"TestKindA", 4).I32(-9).bytes;
  Reading r(bytes);
  auto object = DS_ReadRegisteredObject(TestRegistry(), r.reader);
  auto* a = dynamic_cast<TestKindA*>(object.get());
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->version, 4u);
  EXPECT_EQ(a->value, -9);
}

// The versions a reader tells are its class's constants: none, the current only, or a range.
struct TestKindCurrent : TestKindA {
  static constexpr uint32_t kVersion = 4;
};
struct TestKindRange : TestKindA {
  static constexpr uint32_t kVersion = 3;
  static constexpr uint32_t kMinVersion = 1;
  int32_t marker = 7;
};
struct TestKindDerived : TestKindRange {
  static constexpr uint32_t kVersion = 5;  // kMinVersion found on the base
};

TEST(Registry, ReadersTellTheClassVersionsAndMakeItsDefaults) {
  const IOF_Virtual_ReaderT_II<TestKindA, TestBase> none;
  const IOF_Virtual_ReaderT_II<TestKindCurrent, TestBase> current;
  const IOF_Virtual_ReaderT_II<TestKindRange, TestBase> range;
  const IOF_Virtual_ReaderT_II<TestKindDerived, TestBase> derived;
  const struct {
    const IOF_Virtual_ReaderII<TestBase>* reader;
    uint32_t version, minVersion;
  } cases[] = {{&none, 0, 0}, {&current, 4, 4}, {&range, 3, 1}, {&derived, 5, 1}};
  for (const auto& c : cases) {
    EXPECT_EQ(c.reader->Version(), c.version);
    EXPECT_EQ(c.reader->MinVersion(), c.minVersion);
  }
  const std::unique_ptr<TestBase> made = derived.CreateDefault();
  const auto* kind = dynamic_cast<const TestKindDerived*>(made.get());
  ASSERT_NE(kind, nullptr);
  EXPECT_EQ(kind->marker, 7);
  EXPECT_EQ(kind->value, 0);
}

TEST(Document, ListsOfObjectsAndRoundTrip) {
  // By hand: two slides, the first with one sprite, the second with none.
  TestBytes b;
  b.Str(u"QXJ v 4.0.0").Header(u"VQTest_Show", 1).U32(2);
  b.Header(u"VQTest_Slide", 2).U32(7).Str(u"S1").U32(1);
  SpriteRecord(b, 3, 2).BasePart(u"");
  b.Header(u"VQTest_Slide", 2).U32(8).Str(u"S2").U32(0).BasePart(u"second");
  b.U8(0x42);  // bytes after the document change nothing
  VQTest_Show show;
  ASSERT_EQ(ReadStandInDocument(b.bytes.data(), b.bytes.size(), show), 0u);
  ASSERT_EQ(show.slides.size(), 2u);
  EXPECT_EQ(show.slides[0]->display.Get(), 7u);
  EXPECT_EQ(show.slides[0]->name.Get(), u"S1");
  ASSERT_EQ(show.slides[0]->objects.size(), 1u);
  EXPECT_TRUE(show.slides[1]->objects.empty());
  EXPECT_EQ(show.slides[1]->objectName, u"second");

  // Writing what was read gives the same bytes (but the trailing one).
  auto written = WriteStandInDocument(show);
  std::vector<uint8_t> expected(b.bytes.begin(), b.bytes.end() - 1);
  // The version tag differs: compare after it.
  ds_string tag;
  const size_t ourTag = ParseArchiveString(written.data(), written.size(), tag);
  const size_t theirTag = ParseArchiveString(expected.data(), expected.size(), tag);
  EXPECT_EQ(std::vector<uint8_t>(written.begin() + static_cast<std::ptrdiff_t>(ourTag), written.end()),
            std::vector<uint8_t>(expected.begin() + static_cast<std::ptrdiff_t>(theirTag), expected.end()));
}

TEST(Document, SyntheticRoundTripIsStable) {
  const auto original = MakeSyntheticShow(4, 5, 33);
  const auto bytes = WriteStandInDocument(original);
  VQTest_Show read;
  ASSERT_EQ(ReadStandInDocument(bytes.data(), bytes.size(), read), 0u);
  ASSERT_EQ(read.slides.size(), 4u);
  ASSERT_EQ(read.slides[3]->objects.size(), 5u);
  auto* sprite = dynamic_cast<VQTest_Sprite*>(read.slides[3]->objects[4].get());
  ASSERT_NE(sprite, nullptr);
  auto* source = dynamic_cast<VQTest_Sprite*>(original.slides[3]->objects[4].get());
  EXPECT_EQ(sprite->opacity.Derived(), source->opacity.Derived());
  EXPECT_EQ(sprite->mask.bytes, source->mask.bytes);
  EXPECT_EQ(sprite->objectName, source->objectName);
  EXPECT_EQ(WriteStandInDocument(read), bytes);
}

TEST(Document, DamagedDocumentsAreRejected) {
  const auto bytes = WriteStandInDocument(MakeSyntheticShow(2, 2, 3));
  VQTest_Show show;
  show.slides.push_back(std::make_unique<VQTest_Slide>());
  // Every prefix: unusable, and what was held before is kept.
  for (size_t cut = 0; cut < bytes.size(); ++cut) {
    std::vector<uint8_t> prefix(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
    ASSERT_EQ(ReadStandInDocument(prefix.data(), prefix.size(), show), DS_E_DOCUMENT_UNUSABLE) << cut;
  }
  EXPECT_EQ(show.slides.size(), 1u);

  TestBytes huge;
  huge.Str(u"t").Header(u"VQTest_Show", 1).U32(0xFFFFFFFFu).Header(u"VQTest_Slide", 2);
  EXPECT_EQ(ReadStandInDocument(huge.bytes.data(), huge.bytes.size(), show), DS_E_DOCUMENT_UNUSABLE);

  // A slide object in lower case: no reader, and the document stops there.
  TestBytes lower;
  lower.Str(u"t").Header(u"VQTest_Show", 1).U32(1).Header(u"VQTest_Slide", 2).U32(1).Str(u"S").U32(1);
  lower.Header(u"vqtest_sprite", 3).U32(0).BasePart(u"");
  EXPECT_EQ(ReadStandInDocument(lower.bytes.data(), lower.bytes.size(), show), DS_E_DOCUMENT_UNUSABLE);
}

}  // namespace
