// The platform-free resource types and their bounded parsers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "core/data/file_links.h"
#include "core/resources/image_set_container.h"
#include "core/resources/mask_entry.h"
#include "core/resources/noise.h"
#include "core/resources/resource_entry.h"
#include "core/resources/resource_record.h"
#include "tests/support/test_bytes.h"

namespace {

std::vector<uint8_t> Bytes(std::initializer_list<uint8_t> list) { return std::vector<uint8_t>(list); }

TestBytes Container(const std::vector<float>& times, int frames) {
  TestBytes c;
  c.U32(static_cast<uint32_t>(times.size()));
  for (float t : times) c.F32(t);
  c.U32(static_cast<uint32_t>(frames));
  for (int k = 0; k < frames; ++k)
    c.Entry(0, u"", Bytes({1, 2, 3, static_cast<uint8_t>(k)}), u"frame" + std::u16string(1, u'0' + k) + u".png");
  return c;
}

TEST(ResourceEntry, ParseReportsConsumedBytesAndKeepsNoBufferForEmptyData) {
  TestBytes e;
  e.Entry(7, u"lib.dll", {}, u"name");
  DS_ResourceEntry entry;
  ASSERT_EQ(ParseResourceEntry(e.bytes.data(), e.bytes.size(), entry), 4u + (4 + 14) + 4 + (4 + 8));
  EXPECT_EQ(entry.resourceId, 7);
  EXPECT_EQ(entry.libraryPath, u"lib.dll");
  EXPECT_EQ(entry.name, u"name");
  EXPECT_FALSE(entry.HasBytes());
  EXPECT_EQ(entry.Size(), 0u);
}

TEST(ResourceEntry, EveryTruncationOfAnEntryFailsWithoutChangingIt) {
  TestBytes e;
  e.Entry(3, u"common_res.dll", Bytes({9, 8, 7, 6, 5}), u"pic.png");
  for (size_t n = 0; n < e.bytes.size(); ++n) {
    std::vector<uint8_t> prefix(e.bytes.begin(), e.bytes.begin() + static_cast<long>(n));
    DS_ResourceEntry entry(u"kept");
    EXPECT_EQ(ParseResourceEntry(prefix.data(), prefix.size(), entry), 0u) << n;
    EXPECT_EQ(entry.name, u"kept");
    EXPECT_FALSE(entry.HasBytes());
  }
  DS_ResourceEntry entry;
  EXPECT_EQ(ParseResourceEntry(e.bytes.data(), e.bytes.size(), entry), e.bytes.size());
  EXPECT_EQ(entry.bytes, Bytes({9, 8, 7, 6, 5}));
}

TEST(ResourceEntry, HugeSizesAndCountsFailBeforeAllocating) {
  TestBytes hugeBlob;
  hugeBlob.I32(0).Str(u"").U32(0xFFFFFFFFu);
  DS_ResourceEntry entry;
  EXPECT_EQ(ParseResourceEntry(hugeBlob.bytes.data(), hugeBlob.bytes.size(), entry), 0u);

  std::vector<float> times;
  std::vector<DS_ResourceEntry> entries;
  TestBytes hugeCounts;
  hugeCounts.U32(0xFFFFFFFFu).U32(0);
  EXPECT_FALSE(ParseImageSetContainer(hugeCounts.bytes.data(), hugeCounts.bytes.size(), times, entries));
  TestBytes hugeEntries;
  hugeEntries.U32(0).U32(0xFFFFFFFFu);
  EXPECT_FALSE(ParseImageSetContainer(hugeEntries.bytes.data(), hugeEntries.bytes.size(), times, entries));
}

TEST(ImageSetContainer, ParsesFrameTimesAndEntries) {
  const TestBytes c = Container({0.1f, 0.2f, 0.3f}, 3);
  std::vector<float> times;
  std::vector<DS_ResourceEntry> entries;
  ASSERT_TRUE(ParseImageSetContainer(c.bytes.data(), c.bytes.size(), times, entries));
  EXPECT_EQ(times, (std::vector<float>{0.1f, 0.2f, 0.3f}));
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[2].name, u"frame2.png");
  EXPECT_EQ(entries[2].bytes, Bytes({1, 2, 3, 2}));

  // No frame times still gives every frame.
  const TestBytes untimed = Container({}, 2);
  ASSERT_TRUE(ParseImageSetContainer(untimed.bytes.data(), untimed.bytes.size(), times, entries));
  EXPECT_TRUE(times.empty());
  EXPECT_EQ(entries.size(), 2u);
}

TEST(ImageSetContainer, EveryPrefixFailsCleanly) {
  const TestBytes c = Container({0.5f, 0.5f}, 2);
  for (size_t n = 0; n < c.bytes.size(); ++n) {
    // A buffer of exactly n bytes: the sanitizers see any read past it.
    std::vector<uint8_t> prefix(c.bytes.begin(), c.bytes.begin() + static_cast<long>(n));
    std::vector<float> times{9.0f};
    std::vector<DS_ResourceEntry> entries(1);
    EXPECT_FALSE(ParseImageSetContainer(prefix.data(), prefix.size(), times, entries)) << n;
    EXPECT_TRUE(times.empty());
    EXPECT_TRUE(entries.empty());
  }
}

TEST(ImageSetContainer, ARawPictureIsNotAContainer) {
  // A PNG's first four bytes read as F = 0x474E5089 frame times.
  const std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
  std::vector<float> times;
  std::vector<DS_ResourceEntry> entries;
  EXPECT_FALSE(ParseImageSetContainer(png.data(), png.size(), times, entries));
}

TEST(ImageSetContainer, EntryListReplacesWhatTheVectorHeld) {
  // An entry held before (a library entry appended by an earlier lookup) must not leak its
  // library path or name into a frame whose stored strings are empty.
  TestBytes list;
  list.U32(1).Entry(5, u"", {}, u"");
  std::vector<DS_ResourceEntry> entries;
  entries.emplace_back(77, u"common_res.dll");
  entries.back().name = u"old";
  ResourceBuffer buffer(list.bytes.data(), list.bytes.size());
  ReadEntryListRaw(buffer, entries);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].resourceId, 5);
  EXPECT_TRUE(entries[0].libraryPath.empty());
  EXPECT_TRUE(entries[0].name.empty());
}

TEST(NamedBlob, SetNameDropsBytesOnlyForAnotherName) {
  DS_NamedBlob blob;
  blob.name = u"a";
  const uint8_t data[] = {1, 2, 3};
  blob.SetData(3, data);
  blob.SetName(u"a");
  EXPECT_EQ(blob.Size(), 3u);
  blob.SetName(u"b");
  EXPECT_EQ(blob.Size(), 0u);
  EXPECT_EQ(blob.name, u"b");
  EXPECT_EQ(blob.Data(), nullptr);
}

TEST(ResourceNames, FileNamePartAndLibraryTest) {
  EXPECT_EQ(GetFileNamePart(u"C:\\dir\\song.mp3"), u"song.mp3");
  EXPECT_EQ(GetFileNamePart(u"song.mp3"), u"");
  EXPECT_TRUE(NamesResourceLibrary(u"common_res.dll"));
  EXPECT_TRUE(NamesResourceLibrary(u"C:\\x\\Common_Res.DLL"));
  EXPECT_FALSE(NamesResourceLibrary(u"picture.png"));
  EXPECT_FALSE(NamesResourceLibrary(u"dll"));
  EXPECT_FALSE(NamesResourceLibrary(u"x.dlls"));
  EXPECT_FALSE(NamesResourceLibrary(u""));
}

TEST(MaskKeys, OrderByMemoryBytesOfTheGuid) {
  auto key = [](const char16_t* text) {
    DS_MaskKey k;
    EXPECT_TRUE(DS_GuidFromString(text, k.id));
    return k;
  };
  const DS_MaskKeyLess less;
  EXPECT_TRUE(less(key(u"{00000100-0000-0000-0000-000000000000}"), key(u"{00000001-0000-0000-0000-000000000000}")));
  EXPECT_FALSE(less(key(u"{00000001-0000-0000-0000-000000000000}"), key(u"{00000100-0000-0000-0000-000000000000}")));
  EXPECT_TRUE(less(key(u"{01000000-0000-0000-0000-000000000000}"), key(u"{00000002-0000-0000-0000-000000000000}")));
  EXPECT_TRUE(less(key(u"{00000000-0100-0000-0000-000000000000}"), key(u"{00000000-0001-0000-0000-000000000000}")));
  DS_MaskKey a = key(u"{12345678-9ABC-DEF0-1234-56789ABCDEF0}"), b = a;
  a.name = u"one";
  b.name = u"two";
  b.flag = false;
  EXPECT_FALSE(less(a, b));
  EXPECT_FALSE(less(b, a));
}

// The record of the resource manager.
TestBytes Record(uint32_t version, bool duplicateMask) {
  TestBytes r;
  r.U32(2);  // table 1
  r.Key(u"pic", 1).U32(3);
  for (int k = 0; k < 3; ++k) r.Entry(0, u"", Bytes({static_cast<uint8_t>(k)}), u"f.png");
  r.Key(u"pic", 1).U32(1).Entry(0, u"", Bytes({99}), u"dropped.png");  // duplicate key: dropped
  r.U32(1).Key(u"pic", 1).U32(3).F32(0.1f).F32(0.2f).F32(0.3f);      // table 2
  if (version == 1) return r;
  r.U32(1).Key(u"common_res.dll", 77).U32(1).Entry(77, u"common_res.dll", Bytes({0xFE, 0xFF}), u"");
  if (version == 2) return r;
  r.U32(duplicateMask ? 2 : 1);
  r.Str(u"{00000001-0000-0000-0000-000000000000}").Str(u"first").U8(1).Blob(Bytes({1}), u"m1.png");
  if (duplicateMask)
    r.Str(u"{00000001-0000-0000-0000-000000000000}").Str(u"second").U8(1).Blob(Bytes({2}), u"m2.png");
  return r;
}

TEST(ResourceRecord, TablesFollowTheVersion) {
  for (uint32_t version : {1u, 2u, 3u, 0u, 4u}) {
    const TestBytes r = Record(version == 0 || version == 4 ? 3 : version, true);
    ResourceBuffer buffer(r.bytes.data(), r.bytes.size());
    DS_DocumentReader reader(&buffer);
    DS_ResourceRecordTables tables;
    ReadResourceRecordTables(reader, version, tables);
    EXPECT_EQ(buffer.Remaining(), 0u) << version;
    ASSERT_EQ(tables.pictureEntries.size(), 1u);
    EXPECT_EQ(tables.pictureEntries.begin()->second.size(), 3u);  // the first of two equal keys
    EXPECT_EQ(tables.frameTimes.begin()->second.size(), 3u);
    EXPECT_EQ(tables.savedResources.size(), version == 1 ? 0u : 1u) << version;
    EXPECT_EQ(tables.pendingMasks.size(), version == 1 || version == 2 ? 0u : 1u) << version;
    if (!tables.pendingMasks.empty()) {
      EXPECT_EQ(tables.pendingMasks.begin()->name, u"first");
    }
  }
}

TEST(ResourceRecord, EveryPrefixFailsAndHugeCountsAreRejected) {
  const TestBytes r = Record(3, false);
  for (size_t n = 0; n < r.bytes.size(); ++n) {
    std::vector<uint8_t> prefix(r.bytes.begin(), r.bytes.begin() + static_cast<long>(n));
    ResourceBuffer buffer(prefix.data(), prefix.size());
    DS_DocumentReader reader(&buffer);
    DS_ResourceRecordTables tables;
    EXPECT_THROW(ReadResourceRecordTables(reader, 3, tables), DS_DocumentError) << n;
  }
  for (int table = 0; table < 4; ++table) {
    TestBytes huge;
    for (int k = 0; k < 4; ++k) huge.U32(k == table ? 0xFFFFFFFFu : 0);
    ResourceBuffer buffer(huge.bytes.data(), huge.bytes.size());
    DS_DocumentReader reader(&buffer);
    DS_ResourceRecordTables tables;
    EXPECT_THROW(ReadResourceRecordTables(reader, 3, tables), DS_DocumentError) << table;
  }
}

TEST(Noise, ValueNoiseAtAndBetweenLatticePoints) {
  // The lattice value of n, written out from its definition.
  auto lattice = [](uint32_t n) {
    n ^= n << 13;
    return 1.0 - static_cast<double>((n * (n * n * 15731u + 789221u) - 771171059u) & 0x7FFFFFFFu) / 1073741824.0;
  };
  for (uint32_t n : {0u, 1u, 2u, 17u, 123456u}) {
    EXPECT_DOUBLE_EQ(ValueNoise1D(n), lattice(n)) << n;
    EXPECT_NEAR(ValueNoise1D(n + 0.5), (lattice(n) + lattice(n + 1)) / 2, 1e-12) << n;
  }
  for (double x = 0; x < 50; x += 0.37) {
    EXPECT_LE(std::fabs(ValueNoise1D(x)), 1.0);
    EXPECT_DOUBLE_EQ(FractalNoise1D(x, 3.0, 0.5, 1), ValueNoise1D(x / 3.0));
  }
  EXPECT_EQ(FractalNoise1D(2.5, 1.0, 0.5, 0), 0.0);
  EXPECT_EQ(FractalNoise1D(2.5, 1.0, 0.5, -3), 0.0);
  EXPECT_NEAR(FractalNoise1D(2.5, 2.0, 0.5, 2), ValueNoise1D(1.25) + 0.5 * ValueNoise1D(2.5), 1e-12);
}

TEST(Noise, RandomInRangeStaysBetweenTheBounds) {
  std::srand(7);
  for (int i = 0; i < 2000; ++i) {
    const float up = RandomInRange(2.0f, 5.0f), down = RandomInRange(5.0f, 2.0f);
    EXPECT_GE(up, 2.0f);
    EXPECT_LE(up, 5.0f);
    EXPECT_GE(down, 2.0f);
    EXPECT_LE(down, 5.0f);
  }
  EXPECT_EQ(RandomInRange(3.5f, 3.5f), 3.5f);
}

}  // namespace

// The part of the picture a mask's non-zero alpha can reach: its texels widened by the half texel
// a filtered sample mixes in, cut to the picture; the whole picture without alpha values, nothing
// for a mask clear everywhere.
TEST(MaskBounds, TheTexelsWithAlphaWidenedByHalfATexel) {
  const struct {
    const char* what;
    std::vector<std::pair<unsigned, unsigned>> opaque;  // (x, y) of the 8 x 4 mask
    DS_MaskBounds expected;
  } cases[] = {
      {"one texel", {{3, 1}}, {2.5f / 8, 0.5f / 4, 4.5f / 8, 2.5f / 4}},
      {"two corners", {{0, 0}, {7, 3}}, {0, 0, 1, 1}},
      {"a row at the right", {{6, 2}, {7, 2}}, {5.5f / 8, 1.5f / 4, 1, 3.5f / 4}},
      {"clear", {}, {0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    // Four bytes a texel with alpha last, rows 40 bytes apart, as a locked A8R8G8B8 surface.
    std::vector<uint8_t> texels(40 * 4, 0x7F);
    for (size_t i = 3; i < texels.size(); i += 4) texels[i] = 0;
    for (const auto& [x, y] : c.opaque) texels[y * 40 + x * 4 + 3] = 1;
    const DS_MaskBounds bounds = MaskBoundsOfAlpha(texels.data() + 3, 8, 4, 40, 4);
    EXPECT_FLOAT_EQ(bounds.left, c.expected.left) << c.what;
    EXPECT_FLOAT_EQ(bounds.top, c.expected.top) << c.what;
    EXPECT_FLOAT_EQ(bounds.right, c.expected.right) << c.what;
    EXPECT_FLOAT_EQ(bounds.bottom, c.expected.bottom) << c.what;
    EXPECT_EQ(bounds.Empty(), c.opaque.empty()) << c.what;
    EXPECT_EQ(bounds.Whole(), c.what == std::string("two corners")) << c.what;
  }
  EXPECT_TRUE(MaskBoundsOfAlpha(nullptr, 8, 4, 40, 4).Whole());
  EXPECT_TRUE(MaskBoundsOfAlpha(std::vector<uint8_t>(4).data(), 0, 0, 0, 4).Whole());
}
