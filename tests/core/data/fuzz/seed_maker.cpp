// Writes the document fuzzer's seed corpus into a folder: valid scene documents of the real
// classes (laid out by the test byte builder, read by the real readers and written again by the
// real writers, resource tables included), records of an object's view parameters, each slide of
// the default scene as a document of its own (its layer kind's fields and its objects as stored,
// without the music and the resources), and for every class of the constructor registry one
// document per version it reads, the class's default record in list 1 of a plain slide, and for
// every layer kind one document per version whose slide's layer is of that kind. So every run,
// however short, starts inside every reader.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "core/data/class_registry.h"
#include "core/data/ds_string.h"
#include "core/layer/layer_parts.h"
#include "scene/ds_slide_container.h"
#include "scene/slide_registry.h"
#include "tests/core/data/fuzz/fuzz_documents.h"
#include "tests/support/record_fields.h"
#include "tests/support/test_bytes.h"

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
  // Its first slide is of version 1, which the writer writes as version 2: it goes in as laid out.
  seeds.push_back(laidOut[1]);
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

using Seeds = std::vector<std::pair<std::string, std::vector<uint8_t>>>;

bool Reads(const std::vector<uint8_t>& document) {
  VQFuzz_Document read;
  return ReadFuzzDocument(document.data(), document.size(), read);
}

// One document per slide of the scene document, the slide's record cut out as it is stored.
bool AddSceneSlides(const std::vector<uint8_t>& scene, Seeds& seeds) {
  try {
    ResourceBuffer buffer(scene.data(), scene.size());
    ds_string tag;
    const size_t tagBytes = ParseArchiveString(buffer.cursor, buffer.Remaining(), tag);
    if (tagBytes == 0) return false;
    buffer.cursor += tagBytes;
    DS_DocumentReader reader(&buffer);
    DS_ReadHeader(reader);  // the slide show's
    uint32_t slides = 0;
    reader.ReadULong(slides);
    for (uint32_t i = 0; i < slides; ++i) {
      const uint8_t* start = buffer.cursor;
      DS_RequireRegistered(ReadSlideObject<DS_SlideContainer>(reader));
      const std::vector<uint8_t> document = MakeDocumentAround(std::vector<uint8_t>(start, buffer.cursor), 1);
      if (!Reads(document)) return false;
      seeds.emplace_back("scene-slide-" + std::to_string(i), document);
    }
    return slides > 0;
  } catch (const DS_DocumentError& error) {
    std::fprintf(stderr, "the scene document does not read: %s\n", error.what());
    return false;
  }
}

// Every class of the constructor registry in each version it reads: a class that lists its record
// writes each version from the list; for the others (the tests' own), the older ones are made
// from the default record by cutting the fields added since.
bool AddConstructorClasses(Seeds& seeds) {
  const auto& registry = GetConstructorReaderMap();
  for (const auto& [name, reader] : registry) {
    const std::vector<uint8_t> record = Written(*reader->CreateDefault());
    const std::vector<std::pair<size_t, size_t>> runs = FieldRuns(registry, record);
    std::vector<std::pair<uint32_t, std::vector<uint8_t>>> versions = {{reader->Version(), record}};
    size_t lastCut = 0;
    for (uint32_t version = reader->Version(); version-- > reader->MinVersion();) {
      DS_IOF_ByteWriter listed;
      if (!reader->Describe().empty() && reader->WriteDefault(listed, version)) {
        versions.emplace_back(version, listed.TakeBytes());
        continue;
      }
      versions.emplace_back(version, OlderRecordByCut(registry, record, runs, version, lastCut));
      if (versions.back().second.empty()) {
        std::fprintf(stderr, "no record of version %u of %s reads\n", version, DsToUtf8(name).c_str());
        return false;
      }
    }
    for (const auto& [version, bytes] : versions) {
      TestSlide slide;
      slide.records1 = {bytes};
      const std::vector<uint8_t> document = MakeDocument({slide});
      if (!Reads(document)) {
        std::fprintf(stderr, "the document of %s version %u does not read\n", DsToUtf8(name).c_str(), version);
        return false;
      }
      seeds.emplace_back("class-" + DsToUtf8(name) + "-v" + std::to_string(version), document);
    }
  }
  return true;
}

// Every layer kind in each version it reads: the kind's own fields as its record lists them for
// that version, then the default base layer.
bool AddLayerKinds(Seeds& seeds) {
  for (const auto& [name, part] : GetLayerPartMap()) {
    for (uint32_t version = part->MinVersion(); version <= part->Version(); ++version) {
      DS_IOF_ByteWriter fields;
      part->WriteDefault(fields, version);
      TestSlide slide;
      slide.layerClass = name;
      slide.layerVersion = version;
      slide.layerFields = fields.TakeBytes();
      const std::vector<uint8_t> document = MakeDocument({slide});
      if (!Reads(document)) {
        std::fprintf(stderr, "the document of layer %s version %u does not read\n", DsToUtf8(name).c_str(), version);
        return false;
      }
      seeds.emplace_back("layer-" + DsToUtf8(name) + "-v" + std::to_string(version), document);
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <corpus folder> <scene document>\n", argv[0]);
    return 2;
  }
  InstallFuzzReaders();
  const std::vector<std::vector<uint8_t>> documents = DocumentSeeds();
  if (documents.empty()) {
    std::fprintf(stderr, "a seed document does not read\n");
    return 1;
  }
  Seeds seeds;
  for (const auto& bytes : documents) seeds.emplace_back("seed-" + std::to_string(seeds.size()), bytes);
  seeds.emplace_back("view", ViewSeed());
  std::ifstream sceneFile(argv[2], std::ios::binary);
  const std::vector<uint8_t> scene((std::istreambuf_iterator<char>(sceneFile)), std::istreambuf_iterator<char>());
  if (!AddSceneSlides(scene, seeds)) {
    std::fprintf(stderr, "cannot cut the slides out of %s\n", argv[2]);
    return 1;
  }
  if (!AddConstructorClasses(seeds) || !AddLayerKinds(seeds)) return 1;
  for (const auto& [name, bytes] : seeds) {
    const std::string path = std::string(argv[1]) + "/" + name + ".doc";
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
