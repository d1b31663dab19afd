// The document stream: archive-string forms and boundaries, typed reads, blobs and entries,
// the end bound, and the writer producing exactly the bytes the reader consumes.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "core/data/ds_stream.h"
#include "tests/support/test_bytes.h"

namespace {

struct Reading {
  explicit Reading(const std::vector<uint8_t>& bytes) : buffer(bytes.data(), bytes.size()), reader(&buffer) {}
  size_t Consumed(const std::vector<uint8_t>& bytes) const { return static_cast<size_t>(buffer.cursor - bytes.data()); }
  ResourceBuffer buffer;
  DS_DocumentReader reader;
};

std::u16string Letters(size_t n) {
  std::u16string s(n, u'a');
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char16_t>(u'a' + i % 26);
  return s;
}

TEST(ArchiveString, FormsAndBoundaries) {
  struct Case {
    size_t length;
    int headerBytes;
  };
  // 254 fits the length byte; 255 needs the 16-bit escape; 65535 is itself the 32-bit escape.
  for (const Case c : {Case{1, 4}, Case{254, 4}, Case{255, 6}, Case{65534, 6}, Case{65535, 10}, Case{70000, 10}}) {
    const std::u16string text = Letters(c.length);
    const auto bytes = TestBytes().StrForm(text, c.headerBytes).U8(0x5A).bytes;
    Reading r(bytes);
    ds_string value = u"old";
    r.reader.ReadString(value);
    EXPECT_EQ(value, text) << c.length;
    EXPECT_EQ(r.Consumed(bytes), static_cast<size_t>(c.headerBytes) + 2 * c.length) << c.length;

    DS_IOF_ByteWriter writer;
    writer.WriteString(text);
    EXPECT_EQ(writer.Bytes(), TestBytes().Str(text).bytes) << "shortest form for " << c.length;
    EXPECT_EQ(writer.Bytes().size(), static_cast<size_t>(c.headerBytes) + 2 * c.length);
  }
}

TEST(ArchiveString, EmptyLeavesTargetAndMarkersAreNotChecked) {
  const auto bytes = TestBytes().U8(0xFF).U8(0xFE).U8(0xFF).U8(0).U8(0x12).U8(0x34).U8(0x56).U8(1).U16(u'Q').bytes;
  Reading r(bytes);
  ds_string value = u"Arial";
  r.reader.ReadString(value);
  EXPECT_EQ(value, u"Arial");
  EXPECT_EQ(r.Consumed(bytes), 4u);
  r.reader.ReadString(value);  // any three marker bytes
  EXPECT_EQ(value, u"Q");
  // A longer form than needed is accepted, and an empty one in the 16-bit form too.
  const auto longer = TestBytes().StrForm(u"0123456789", 6).StrForm(u"", 10).bytes;
  Reading l(longer);
  l.reader.ReadString(value);
  EXPECT_EQ(value, u"0123456789");
  l.reader.ReadString(value);
  EXPECT_EQ(value, u"0123456789");
  EXPECT_EQ(l.Consumed(longer), longer.size());
}

TEST(ArchiveString, ZeroUnitCutsButAllUnitsAreConsumed) {
  const auto bytes = TestBytes().U8(0xFF).U8(0xFE).U8(0xFF).U8(3).U16(u'A').U16(0).U16(u'B').U32(7).bytes;
  Reading r(bytes);
  ds_string value;
  r.reader.ReadString(value);
  EXPECT_EQ(value, u"A");
  EXPECT_EQ(r.Consumed(bytes), 10u);
  uint32_t next = 0;
  r.reader.ReadULong(next);
  EXPECT_EQ(next, 7u);
}

TEST(ArchiveString, ParseFromMemoryReportsBytesOrZero) {
  const auto bytes = TestBytes().Str(u"QXJ v 4.0.0").bytes;
  ds_string tag;
  EXPECT_EQ(ParseArchiveString(bytes.data(), bytes.size(), tag), 26u);
  EXPECT_EQ(tag, u"QXJ v 4.0.0");
  for (size_t cut = 0; cut < bytes.size(); ++cut) {
    ds_string t = u"kept";
    EXPECT_EQ(ParseArchiveString(bytes.data(), cut, t), 0u) << cut;
    EXPECT_EQ(t, u"kept");
  }
}

TEST(ArchiveString, HugeLengthsFailWithoutAllocating) {
  // 32-bit lengths up to 0xFFFFFFFF (2^33 bytes of units) in a 14-byte block.
  for (uint32_t length : {0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 3u}) {
    const auto bytes = TestBytes().U8(0xFF).U8(0xFE).U8(0xFF).U8(0xFF).U16(0xFFFF).U32(length).U16(u'x').U16(u'y').bytes;
    Reading r(bytes);
    ds_string value = u"kept";
    EXPECT_THROW(r.reader.ReadString(value), DS_DocumentError) << length;
    EXPECT_EQ(value, u"kept");
    EXPECT_TRUE(r.reader.Failed());
  }
}

TEST(TypedReads, ValuesAndWidths) {
  const auto bytes = TestBytes()
                         .I32(-7)
                         .U32(0xDEADBEEF)
                         .U32(4000000000u)
                         .F32(1.5f)
                         .I64(-2)
                         .I32(-3)
                         .I32(9)
                         .U8(0xC8)
                         .U8(1)
                         .U8(0)
                         .bytes;
  Reading r(bytes);
  int32_t i = 0;
  uint32_t ul = 0, ui = 0;
  float f = 0;
  int64_t i64 = 0;
  DS_Point p;
  uint8_t byte = 0;
  bool b1 = false, b0 = true;
  r.reader.ReadInt(i);
  r.reader.ReadULong(ul);
  r.reader.ReadUInt(ui);
  r.reader.ReadFloat(f);
  r.reader.ReadInt64(i64);
  r.reader.ReadPoint(p);
  r.reader.ReadByte(byte);
  r.reader.ReadBool(b1);
  r.reader.ReadBool(b0);
  EXPECT_EQ(i, -7);
  EXPECT_EQ(ul, 0xDEADBEEFu);
  EXPECT_EQ(ui, 4000000000u);
  EXPECT_EQ(f, 1.5f);
  EXPECT_EQ(i64, -2);
  EXPECT_EQ(p, (DS_Point{-3, 9}));
  EXPECT_EQ(byte, 0xC8);
  EXPECT_TRUE(b1);
  EXPECT_FALSE(b0);
  EXPECT_EQ(r.Consumed(bytes), bytes.size());
  EXPECT_EQ(r.reader.Remaining(), 0u);
}

TEST(TypedReads, BoolTargetsNeverReceiveARawByte) {
  const auto bytes = TestBytes().U8(0x02).U8(0xFF).U8(0x02).bytes;
  Reading r(bytes);
  bool a = false, b = false;
  uint8_t raw = 0;
  r.reader.ReadBool(a);
  r.reader.ReadBool(b);
  r.reader.ReadByte(raw);
  unsigned char stored;
  std::memcpy(&stored, &a, 1);
  EXPECT_EQ(stored, 1u);
  EXPECT_TRUE(b);
  EXPECT_EQ(raw, 0x02);  // byte targets keep the raw value
}

TEST(Blobs, NamedBlobAndResourceEntry) {
  const auto bytes = TestBytes()
                         .U32(3).U8(9).U8(8).U8(7).Str(u"song.mp3")
                         .U32(0).Str(u"empty")
                         .I32(-1).Str(u"common_res.dll").U32(2).U8(0xAA).U8(0xBB).Str(u"")
                         .I32(0).Str(u"").U32(0).Str(u"pic.png")
                         .bytes;
  Reading r(bytes);
  DS_NamedBlob blob;
  r.reader.ReadNamedBlob(blob);
  EXPECT_EQ(blob.bytes, (std::vector<uint8_t>{9, 8, 7}));
  EXPECT_EQ(blob.name, u"song.mp3");
  // Read again into the same blob: no bytes stored means no bytes kept (the old ones neither
  // leak nor stay behind).
  r.reader.ReadNamedBlob(blob);
  EXPECT_FALSE(blob.HasBytes());
  EXPECT_EQ(blob.Size(), 0u);
  EXPECT_EQ(blob.name, u"empty");

  DS_ResourceEntry entry;
  r.reader.ReadResourceEntry(entry);
  EXPECT_EQ(entry.resourceId, -1);
  EXPECT_EQ(entry.libraryPath, u"common_res.dll");
  EXPECT_EQ(entry.bytes, (std::vector<uint8_t>{0xAA, 0xBB}));
  EXPECT_TRUE(entry.name.empty());
  DS_ResourceEntry file;
  const size_t before = r.Consumed(bytes);
  r.reader.ReadResourceEntry(file);
  EXPECT_EQ(r.Consumed(bytes) - before, 4u + 4u + 4u + 4u + 14u);
  EXPECT_FALSE(file.HasBytes());
  EXPECT_EQ(file.name, u"pic.png");
  EXPECT_EQ(r.reader.Remaining(), 0u);
}

TEST(Blobs, SizesBeyondTheBlockFailBeforeAllocating) {
  for (uint32_t size : {5u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
    const auto bytes = TestBytes().U32(size).U8(1).U8(2).U8(3).U8(4).bytes;
    Reading r(bytes);
    DS_NamedBlob blob;
    blob.SetData(2, "ab");
    EXPECT_THROW(r.reader.ReadNamedBlob(blob), DS_DocumentError);
    EXPECT_EQ(blob.Size(), 2u);  // target unchanged
  }
}

TEST(EndBound, EveryPrefixFailsCleanlyAndTheFailureSticks) {
  const auto bytes = TestBytes()
                         .Header(u"DS_SlideShow_Light", 1)
                         .U32(2).F32(0.25f).I64(5).U8(1).I32(1).I32(2)
                         .U32(1).U8(0x55).Str(u"b")
                         .I32(5).Str(u"lib.dll").U32(1).U8(0x66).Str(u"n")
                         .bytes;
  auto readAll = [](DS_IOF_Virtual& in) {
    DS_ObjectHeader h = DS_ReadHeader(in);
    uint32_t u = 0;
    float f = 0;
    int64_t s = 0;
    bool b = false;
    DS_Point p;
    DS_NamedBlob blob;
    DS_ResourceEntry entry;
    in.ReadULong(u);
    in.ReadFloat(f);
    in.ReadInt64(s);
    in.ReadBool(b);
    in.ReadPoint(p);
    in.ReadNamedBlob(blob);
    in.ReadResourceEntry(entry);
    return h.className.size() + u;
  };
  {
    Reading whole(bytes);
    EXPECT_NO_THROW(readAll(whole.reader));
    EXPECT_EQ(whole.reader.Remaining(), 0u);
  }
  for (size_t cut = 0; cut < bytes.size(); ++cut) {
    // A copy of exactly `cut` bytes, so that the sanitizer sees any read beyond it.
    std::vector<uint8_t> prefix(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
    ResourceBuffer buffer(prefix.data(), prefix.size());
    DS_DocumentReader reader(&buffer);
    EXPECT_THROW(readAll(reader), DS_DocumentError) << cut;
    EXPECT_TRUE(buffer.failed);
    uint8_t byte = 0;
    EXPECT_THROW(reader.ReadByte(byte), DS_DocumentError);  // sticky
    EXPECT_EQ(reader.Remaining(), 0u);
  }
}

TEST(EndBound, CountsAreBoundedByTheBytesThatRemain) {
  const auto bytes = TestBytes().U32(0xFFFFFFFFu).Header(u"A", 1).bytes;
  Reading r(bytes);
  try {
    DS_ReadCount(r.reader, DS_MIN_HEADER_BYTES);
    FAIL() << "a count of 2^32-1 headers in 10 bytes was accepted";
  } catch (const DS_DocumentError& error) {
    EXPECT_EQ(error.Code(), 0x8200000Bu);
  }
  const auto fits = TestBytes().U32(1).Header(u"A", 1).bytes;
  Reading f(fits);
  EXPECT_EQ(DS_ReadCount(f.reader, DS_MIN_HEADER_BYTES), 1u);
  const auto zero = TestBytes().U32(0).U32(77).bytes;
  Reading z(zero);
  EXPECT_EQ(DS_ReadCount(z.reader, DS_MIN_HEADER_BYTES), 0u);
  uint32_t next = 0;
  z.reader.ReadULong(next);
  EXPECT_EQ(next, 77u);  // a list of 0 is followed directly by what comes next
}

TEST(EndBound, EmptyOrMissingBlock) {
  ResourceBuffer none;
  DS_DocumentReader reader(&none);
  uint32_t v = 3;
  EXPECT_THROW(reader.ReadULong(v), DS_DocumentError);
  EXPECT_EQ(v, 3u);
  ds_string s;
  EXPECT_EQ(ParseArchiveString(nullptr, 0, s), 0u);
}

TEST(Writer, ProducesTheReadersBytes) {
  DS_IOF_ByteWriter w;
  DS_ResourceEntry entry(7, u"common_res.dll");
  entry.name = u"x";
  entry.SetData(2, "\x01\x02");
  DS_NamedBlob blob;
  blob.name = u"m";
  w.WriteResourceEntry(entry);
  w.WriteNamedBlob(blob);
  w.WriteString(u"ab");
  w.WriteInt64(int64_t{-5});
  w.WriteFloat(2.0f);
  w.WritePoint(DS_Point{3, -4});
  w.WriteULong(1u);
  w.WriteUInt(2u);
  w.WriteByte(uint8_t{0xEE});
  w.WriteBool(true);
  w.WriteInt(-1);
  const auto expected = TestBytes()
                            .I32(7).Str(u"common_res.dll").U32(2).U8(1).U8(2).Str(u"x")
                            .U32(0).Str(u"m")
                            .Str(u"ab").I64(-5).F32(2.0f).I32(3).I32(-4).U32(1).U32(2).U8(0xEE).U8(1).I32(-1)
                            .bytes;
  EXPECT_EQ(w.Bytes(), expected);
  uint32_t v;
  EXPECT_THROW(w.ReadULong(v), std::logic_error);
  // The reader's own writes do nothing.
  ResourceBuffer buffer(expected.data(), expected.size());
  DS_DocumentReader reader(&buffer);
  reader.WriteULong(5u);
  EXPECT_EQ(buffer.cursor, expected.data());
}

}  // namespace
