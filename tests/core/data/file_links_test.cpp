// Resource keys and file links: ordering, extensions, construction, the image link's history,
// the stored form and GUID strings.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <vector>

#include "core/data/file_links.h"
#include "tests/support/test_bytes.h"

namespace {

TEST(ResourceKey, Ordering) {
  const DS_ResourceKey a5{u"a.png", 5}, a7{u"a.png", 7}, b0{u"b.png", 0};
  EXPECT_TRUE(a5 < a7);
  EXPECT_TRUE(a7 < b0);
  EXPECT_FALSE(a7 < a5);
  EXPECT_FALSE(a5 < a5);
  EXPECT_TRUE((DS_ResourceKey{u"a", 1000}) < (DS_ResourceKey{u"ab", -1000}));
  EXPECT_TRUE((DS_ResourceKey{u"x", -1}) < (DS_ResourceKey{u"x", 0}));
  // Code units as unsigned 16-bit numbers: U+FF21 after 'z', U+00E9 after 'z'.
  EXPECT_TRUE((DS_ResourceKey{u"z", 0}) < (DS_ResourceKey{u"\uFF21", 0}));
  EXPECT_TRUE((DS_ResourceKey{u"Z", 0}) < (DS_ResourceKey{u"a", 0}));
  EXPECT_NE(a5, a7);
  EXPECT_EQ(a5, (DS_ResourceKey{u"a.png", 5}));
}

TEST(FileLink, Extensions) {
  struct Case {
    const char16_t* name;
    const char16_t* extension;
  };
  for (const Case c : {Case{u"C:\\Pics\\Photo.JPG", u".jpg"}, Case{u"readme", u""}, Case{u"", u""},
                       Case{u"x.tar.gz", u".gz"}, Case{u"common_res.DLL", u".dll"}, Case{u"a.\u00C9X", u".\u00E9x"}}) {
    EXPECT_EQ(DS_FileLink3(DS_ResourceKey{c.name, 0}).GetExtension(), c.extension) << DsToUtf8(c.name);
  }
}

TEST(FileLink, Construction) {
  const DS_FileLink3 library(-1, u"common_res.dll");
  EXPECT_EQ(library.Key(), (DS_ResourceKey{u"common_res.dll", -1}));
  DS_ResourceEntry allBits(-1, u"lib.dll");
  EXPECT_EQ(DS_FileLink3(allBits).Key().stamp, 4294967295);
  // Embedded entries take consecutive numbers of one counter.
  const DS_ResourceEntry embedded(u"pic.png");
  const int64_t first = DS_FileLink3(embedded).Key().stamp;
  EXPECT_EQ(DS_FileLink3(embedded).Key().stamp, first + 1);
  const DS_FileLink3 third(embedded);
  EXPECT_EQ(third.Key().stamp, first + 2);
  EXPECT_EQ(third.GetName(), u"pic.png");

  EXPECT_EQ(DS_FileLink3(ds_string(u"/no/such/file.png")).Key().stamp, 0);  // fixed stamp
  const char* path = "vq_core_link_probe.txt";
  std::ofstream(path) << "x";
  EXPECT_GT(DS_FileLink3(DsFromUtf8(path)).Key().stamp, 1000000000);  // seconds since 1970
  std::remove(path);

  DS_FileLink3 copy(library);
  EXPECT_EQ(copy.Key(), library.Key());
  EXPECT_TRUE(copy.Observers().empty());
}

TEST(FileLink, StoredFormReplacesNameAndStampAndTellsNobody) {
  const auto bytes = TestBytes().Str(u"common_res.dll").I64(5).Str(u"").I64(-3).bytes;
  ResourceBuffer buffer(bytes.data(), bytes.size());
  DS_DocumentReader reader(&buffer);
  DS_ImageFileLink link;
  link.StoreKey(DS_ResourceKey{u"old.png", 9});
  const size_t observers = link.Observers().size();
  ReadFileLink(reader, link);
  EXPECT_EQ(link.Key(), (DS_ResourceKey{u"common_res.dll", 5}));
  ReadFileLink(reader, link);
  EXPECT_EQ(link.Key(), (DS_ResourceKey{u"", -3}));  // an empty stored name empties the link
  EXPECT_EQ(link.Observers().size(), observers);

  DS_IOF_ByteWriter out;
  WriteFileLink(DS_FileLink3(5, u"common_res.dll"), out);
  WriteFileLink(DS_FileLink3(DS_ResourceKey{u"", -3}), out);
  EXPECT_EQ(out.Bytes(), bytes);
}

std::vector<DS_ResourceKey> g_Resources, g_Pictures;

TEST(FileLink, WritingANamedLinkCarriesItsResourceOrItsPicture) {
  DS_SetFileLinkWriteHooks([](const DS_ResourceKey& key) { g_Resources.push_back(key); },
                           [](const DS_ResourceKey& key) { g_Pictures.push_back(key); });
  DS_IOF_ByteWriter out;
  WriteFileLink(DS_FileLink3(DS_ResourceKey{u"", 2}), out);
  WritePictureLink(DS_FileLink3(DS_ResourceKey{u"", 3}), out);
  EXPECT_TRUE(g_Resources.empty() && g_Pictures.empty()) << "a link without a name carries nothing";
  WriteFileLink(DS_FileLink3(DS_ResourceKey{u"rain.wav", 2}), out);
  WritePictureLink(DS_FileLink3(DS_ResourceKey{u"sky.png", 4}), out);
  EXPECT_EQ(g_Resources, (std::vector<DS_ResourceKey>{{u"rain.wav", 2}}));
  EXPECT_EQ(g_Pictures, (std::vector<DS_ResourceKey>{{u"sky.png", 4}}));
  DS_SetFileLinkWriteHooks(nullptr, nullptr);

  // Both are stored alike: the name, then the stamp.
  DS_IOF_ByteWriter resource, picture;
  WriteFileLink(DS_FileLink3(DS_ResourceKey{u"sky.png", 4}), resource);
  WritePictureLink(DS_FileLink3(DS_ResourceKey{u"sky.png", 4}), picture);
  EXPECT_EQ(resource.Bytes(), picture.Bytes());
}

class Counter final : public MediaControl {
 public:
  void OnChanged(MediaControl*) override { ++calls; }
  int calls = 0;
};

TEST(ImageFileLink, HistoryOfKeys) {
  DS_ImageFileLink link;
  ASSERT_EQ(link.Observers().front(), &link.History());
  Counter listener;
  link.Attach(&listener);
  link.History().Record();
  link.SetKey(DS_ResourceKey{u"a.png", 1});
  link.History().Record();
  link.SetKey(DS_ResourceKey{u"a.png", 2});  // a stamp change alone is a change
  EXPECT_EQ(listener.calls, 2);
  link.History().Undo();
  EXPECT_EQ(link.Key(), (DS_ResourceKey{u"a.png", 1}));
  link.History().Undo();
  EXPECT_EQ(link.Key(), (DS_ResourceKey{u"", 0}));
  EXPECT_EQ(listener.calls, 4);
  link.History().Undo();  // no step, yet the observers are told again
  EXPECT_EQ(listener.calls, 5);
  link.History().Redo();
  EXPECT_EQ(link.Key(), (DS_ResourceKey{u"a.png", 1}));
  link.Remove(&listener);

  const DS_ImageFileLink copy(static_cast<const DS_FileLink3&>(link));
  EXPECT_EQ(copy.Key(), link.Key());
  ASSERT_EQ(copy.Observers().size(), 1u);
  link.Edit(nullptr, nullptr);  // no picture chooser: nothing changes
  EXPECT_EQ(link.Key(), (DS_ResourceKey{u"a.png", 1}));
}

TEST(Guid, StringFormAndStoredForm) {
  DS_Guid guid;
  guid.data1 = 0x0123ABCD;
  guid.data2 = 0x4567;
  guid.data3 = 0x89EF;
  const uint8_t tail[8] = {0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54, 0x32, 0x10};
  std::memcpy(guid.data4, tail, 8);
  const ds_string text = u"{0123ABCD-4567-89EF-FEDC-BA9876543210}";
  EXPECT_EQ(DS_GuidToString(guid), text);

  const auto bytes = TestBytes()
                         .Str(text)
                         .Str(u"{0123abcd-4567-89ef-fedc-ba9876543210}")
                         .Str(u"{0123ABCD-4567-89EF-FEDC-BA987654321}")
                         .Str(u"{0123ABCD-4567-89EF-FEDC-BA98765432G0}")
                         .bytes;
  ResourceBuffer buffer(bytes.data(), bytes.size());
  DS_DocumentReader reader(&buffer);
  DS_Guid read;
  ReadGuid(reader, read);
  EXPECT_EQ(read, guid);
  DS_Guid lower;
  ReadGuid(reader, lower);
  EXPECT_EQ(lower, guid);
  DS_Guid kept = guid;
  ReadGuid(reader, kept);  // too short
  ReadGuid(reader, kept);  // not hexadecimal
  EXPECT_EQ(kept, guid);

  DS_IOF_ByteWriter out;
  WriteGuid(out, guid);
  EXPECT_EQ(out.Bytes(), TestBytes().Str(text).bytes);
  DS_Guid one;
  one.data1 = 1;
  uint8_t memory[16];
  std::memcpy(memory, &one, 16);
  EXPECT_EQ(memory[0], 1);  // Data1 little-endian in memory
  EXPECT_EQ(DS_GuidToString(one), u"{00000001-0000-0000-0000-000000000000}");
}

}  // namespace
