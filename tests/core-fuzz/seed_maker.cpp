// Writes the document fuzzer's seed corpus into a folder: valid scene documents of the real
// classes (laid out by the test byte builder, read by the real readers and written again by the
// real writers, resource tables included) and records of an object's view parameters.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tests/core-fuzz/fuzz_documents.h"
#include "tests/core/test_bytes.h"

namespace {

DS_ResourceEntry Embedded(const char16_t* name, std::vector<uint8_t> bytes) {
  DS_ResourceEntry entry{ds_string(name)};
  entry.bytes = std::move(bytes);
  return entry;
}

// Every table of the manager's record with something in it.
void FillTables(DS_ResourceRecordTables& tables) {
  tables.pictureEntries[DS_ResourceKey{u"meadow.png", 3}] = {DS_ResourceEntry(5, u"common_res.dll"),
                                                             Embedded(u"meadow.png", {1, 2, 3, 4})};
  tables.frameTimes[DS_ResourceKey{u"flicker.dds", 4}] = {0.1f, 0.25f};
  tables.savedResources[DS_ResourceKey{u"glow.fxo", 77}] = {Embedded(u"glow", {9, 8, 7})};
  DS_MaskEntry mask = MakeNewMaskEntry();
  mask.name = u"mask 1";
  mask.blob.name = u"mask.png";
  mask.blob.bytes = {0x89, 0x50};
  tables.pendingMasks.insert(mask);
}

std::vector<std::vector<uint8_t>> DocumentSeeds() {
  TestSlide plain;
  TestSlide older;
  older.version = 1;
  older.list1 = {u"a"};
  TestSlide full;
  full.name = u"second";
  full.list1 = {u"b", u"c"};
  full.list2 = {u"d"};
  const std::vector<std::vector<uint8_t>> laidOut = {
      MakeDocument({plain}),
      MakeDocument({older, full}, {TestMusic{u"song", u"C:\\music\\song.mp3", {0x49, 0x44, 0x33}}}, u""),
      MakeDocument({full}),
  };
  std::vector<std::vector<uint8_t>> seeds;
  for (size_t i = 0; i < laidOut.size(); ++i) {
    VQFuzz_Document document;
    if (!ReadFuzzDocument(laidOut[i].data(), laidOut[i].size(), document)) return {};
    if (i == 2) FillTables(document.tables);
    seeds.push_back(WriteFuzzDocument(document));
    VQFuzz_Document check;
    if (!ReadFuzzDocument(seeds.back().data(), seeds.back().size(), check)) return {};
  }
  return seeds;
}

std::vector<uint8_t> ViewSeed() {
  VQFuzz_View view;
  view.rectangle.left.Set(10);
  view.rectangle.right.Set(500);
  view.view = DS_ViewFractions{0.1f, 0.9f, 0.25f, 0.75f};
  view.flag = true;
  view.speed.Set(80);
  view.objectName = u"Fish 1";
  return WriteFuzzView(view);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
    return 2;
  }
  InstallFuzzReaders();
  std::vector<std::vector<uint8_t>> seeds = DocumentSeeds();
  if (seeds.empty()) {
    std::fprintf(stderr, "a seed document does not read\n");
    return 1;
  }
  seeds.push_back(ViewSeed());
  int index = 0;
  for (const auto& bytes : seeds) {
    const std::string path = std::string(argv[1]) + "/seed-" + std::to_string(index++) + ".doc";
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
