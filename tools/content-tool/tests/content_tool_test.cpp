// The content tool's object records: named fields written after the record descriptions give the
// same bytes as the positional form, defaults fill what a description leaves out, and mistakes in
// a description or in a record description are reported with the entry or file that holds them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/data/abobj_constructor.h"
#include "core/data/class_registry.h"
#include "tests/support/record_fields.h"
#include "core/data/ds_stream.h"
#include "core/layer/ds_2d_light_params.h"
#include "scene/ds_slide_container.h"
#include "tools/content-tool/description.h"

namespace {

namespace fs = std::filesystem;

// The object base alone, to write its part as the saver's code does.
class NamedObject final : public DS_ABObj_Constructor {
 public:
  std::unique_ptr<DS_ABObj> CreateObject() const override { return nullptr; }
};

class ContentTool : public ::testing::Test {
 protected:
  void SetUp() override {
    m_Dir = fs::path(::testing::TempDir()) /
            (std::string("content_tool_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(m_Dir);
    fs::create_directories(m_Dir);
  }
  void TearDown() override { fs::remove_all(m_Dir); }

  std::string Write(const std::string& name, const std::string& text) const {
    const fs::path path = m_Dir / name;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }
  // A scene of one slide whose first list holds the given objects (JSON text), and whose layer
  // is the given one.
  std::string Scene(const std::string& name, const std::string& objects,
                    const std::string& layer = R"({ "picture": { "colour": "#102030" } })") const {
    return Write(name, R"({ "slides": [ { "name": "s", "layer": )" + layer + R"(, "objects": [ )" + objects + " ] } ] }");
  }
  DS_ContentOptions Options(const std::string& description) const {
    DS_ContentOptions options;
    options.descriptionPath = description;
    options.recordFolders = {VQ_TEST_RECORDS};
    return options;
  }
  std::vector<uint8_t> Build(const std::string& description) const { return BuildSceneDocument(Options(description)); }
  std::string Failure(const DS_ContentOptions& options) const {
    try {
      BuildSceneDocument(options);
    } catch (const std::runtime_error& e) {
      return e.what();
    }
    return "(no error)";
  }

  fs::path m_Dir;
};

// Every field of VQTest_Sampler with its base parts, as the positional form spells them.
std::string PositionalSampler(const std::string& count, const std::string& image, const std::string& inner,
                              const std::string& rectangle, const std::string& name) {
  return R"({ "class": "VQTest_Sampler", "version": 3, "fields": [
    {"uint": )" + count + R"(}, {"float": 0.5}, {"point": [0, 0]}, {"string": "sampler"},
    {"guid": "{00000000-0000-0000-0000-000000000000}"}, {"picture": )" + image + R"(}, {"picture": null},
    {"float": 1}, {"float": 0.5}, {"float": 0.25},
    {"header": ["VQTest_Inner", 2]}, )" + inner + R"(,
    {"byte": 2}, {"int64": -9}, {"ulong": 7},
    {"header": ["DS_ViewObjCtrl", 2]}, )" + rectangle + R"(,
    {"float": 0}, {"float": 1}, {"float": 0}, {"float": 1}, {"bool": false}, {"uint": 50},
    {"header": ["DS_ABObj_Constructor", 1]}, {"string": ")" + name + R"("} ] })";
}

TEST_F(ContentTool, NamedFieldsWriteTheBytesOfThePositionalForm) {
  const std::string named = Scene("named.json", R"(
    { "class": "VQTest_Sampler" },
    { "class": "VQTest_Sampler", "name": "fog", "count": 7, "rectangle": [1, 2, 3, 4, 5, 6],
      "image": { "library": "common_res.dll", "id": 240 }, "inner": { "level": 4 } })",
    R"({ "class": "VQTest_Layer", "lines": 9, "picture": { "colour": "#102030" } })");
  const std::string defaults = R"({"int": 0}, {"int": 0}, {"int": 0}, {"int": 0}, {"int": 0}, {"int": 0})";
  const std::string positional = Scene("positional.json",
    PositionalSampler("20", R"({"library": "common_res.dll", "id": 5})", R"({"int": -3}, {"bool": true})", defaults, "") +
    ", " +
    PositionalSampler("7", R"({"library": "common_res.dll", "id": 240})", R"({"int": 4}, {"bool": true})",
                      R"({"int": 1}, {"int": 2}, {"int": 3}, {"int": 4}, {"int": 5}, {"int": 6})", "fog"),
    R"({ "class": "VQTest_Layer", "version": 2, "fields": [ {"float": 0.25}, {"uint": 9} ],
         "picture": { "colour": "#102030" } })");
  const auto a = Build(named);
  EXPECT_EQ(a, Build(positional));
  // The innermost base part is what the object base itself writes (this also shows that the
  // records are in the bytes at all: a record that wrote nothing would compare equal above).
  NamedObject base;
  base.objectName = u"fog";
  DS_IOF_ByteWriter writer;
  base.WriteObject(writer);
  EXPECT_NE(std::search(a.begin(), a.end(), writer.Bytes().begin(), writer.Bytes().end()), a.end());
}

TEST_F(ContentTool, MistakesInADescriptionNameTheEntry) {
  struct Case {
    const char* object;
    const char* message;
  };
  const Case cases[] = {
      {R"({ "class": "VQTest_Sampler", "sped": 5 })",
       R"(slides[0].objects[0]: unknown field "sped" of VQTest_Sampler (its fields: count, angle, offset)"},
      {R"({ "class": "VQTest_Sampler", "speed": "fast" })", "slides[0].objects[0].speed: must be a whole number"},
      {R"({ "class": "VQTest_Sampler", "view": [0, 1] })", "slides[0].objects[0].view: must be a list of 4 values"},
      {R"({ "class": "VQTest_Sampler", "rectangle": [1, 2, 3, 4, 5, "x"] })",
       "slides[0].objects[0].rectangle[5]: must be a whole number"},
      {R"({ "class": "VQTest_Sampler", "inner": { "lvl": 1 } })",
       R"(slides[0].objects[0].inner: unknown field "lvl" of VQTest_Inner)"},
      {R"({ "class": "VQTest_Sampler", "mode": 256 })", "slides[0].objects[0].mode: 256 is outside 0..255"},
      {R"({ "class": "VQTest_Nothing", "count": 1 })",
       "slides[0].objects[0]: no record description of VQTest_Nothing"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.object);
    const std::string path = Scene("scene.json", c.object);
    const std::string message = Failure(Options(path));
    EXPECT_NE(message.find(path + ": "), std::string::npos) << message;
    EXPECT_NE(message.find(c.message), std::string::npos) << message;
  }
  // Misspelt keys outside the objects, and a layer kind's unknown field.
  const Case scenes[] = {
      {R"({ "slides": [ { "name": "s", "layer": { "class": "VQTest_Layer", "depht": 1 } } ] })",
       R"(slides[0].layer: unknown field "depht" of VQTest_Layer)"},
      {R"({ "slides": [ { "name": "s", "fade": 2 } ] })", R"(slides[0]: unknown key "fade" (name, fade_in,)"},
      {R"({ "slides": [ { "layer": { "camera": { "zoom": 100, "sped": 3 } } } ] })",
       R"(slides[0].layer.camera: unknown key "sped")"},
      {R"({ "slides": [ { "layer": { "picture": { "colour": "#000000", "widht": 8 } } } ] })",
       R"(slides[0].layer.picture: unknown key "widht")"},
      {R"({ "slides": [ { } ], "masks": [ { "guid": "{00000001-0000-0000-0000-000000000000}", "flag": 1 } ] })",
       "masks[0].flag: must be true or false"},
  };
  for (const Case& c : scenes) {
    SCOPED_TRACE(c.object);
    const std::string message = Failure(Options(Write("whole.json", c.object)));
    EXPECT_NE(message.find(c.message), std::string::npos) << message;
  }
}

TEST_F(ContentTool, MistakesInARecordDescriptionNameTheFile) {
  struct Case {
    const char* file;
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"VQBad_Type.json", R"({ "class": "VQBad_Type", "version": 1, "record": [ { "name": "a", "type": "flaot" } ] })",
       R"(record[0].type: unknown type "flaot")"},
      {"VQBad_Base.json", R"({ "class": "VQBad_Base", "version": 1, "record": [ { "base": "VQBad_Missing" } ] })",
       "the base part VQBad_Missing is not described"},
      {"VQBad_Twice.json",
       R"({ "class": "VQBad_Twice", "version": 1, "record": [ { "name": "name", "type": "uint" }, { "base": "DS_ABObj_Constructor" } ] })",
       R"(the field name "name" is used twice in VQBad_Twice and its bases)"},
      {"VQBad_Loop.json", R"({ "class": "VQBad_Loop", "version": 1, "record": [ { "base": "VQBad_Loop" } ] })",
       "VQBad_Loop is its own base"},
      {"VQBad_Nest.json",
       R"({ "class": "VQBad_Nest", "version": 1, "record": [ { "name": "inner", "type": "record VQBad_Nest" } ] })",
       "VQBad_Nest holds itself (through VQBad_Nest)"},
      {"VQBad_Named.json", R"({ "class": "VQBad_Other", "version": 1, "record": [] })",
       "describes VQBad_Other: name the file VQBad_Other.json"},
      {"VQBad_Reserved.json", R"({ "class": "VQBad_Reserved", "version": 1, "record": [ { "name": "class", "type": "uint" } ] })",
       R"("class" cannot name a field)"},
      {"VQBad_Version.json", R"({ "class": "VQBad_Version", "record": [] })", R"("version" must be)"},
  };
  const std::string scene = Scene("scene.json", "");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const fs::path folder = m_Dir / "records" / fs::path(c.file).stem();
    const std::string path = Write(fs::relative(folder / c.file, m_Dir).string(), c.text);
    DS_ContentOptions options = Options(scene);
    options.recordFolders.push_back(folder.string());
    const std::string message = Failure(options);
    EXPECT_EQ(message.rfind(path + ": ", 0), 0u) << message;
    EXPECT_NE(message.find(c.message), std::string::npos) << message;
  }
}

// Every object class that lists its record: an object given by its class alone is written with
// the class's own defaults, byte for byte what a new object of the class writes, in its place
// (GUIDs aside: a new brush makes its mask key afresh, the tool writes the empty one).
TEST_F(ContentTool, DeclaredRecordsWriteWhatANewObjectWrites) {
  const std::vector<uint8_t> empty = Build(Scene("empty.json", ""));
  bool any = false;
  for (const auto& [name, reader] : GetConstructorReaderMap()) {
    if (reader->Describe().empty()) continue;
    any = true;
    const std::string className = DsToUtf8(name);
    SCOPED_TRACE(className);
    DS_IOF_ByteWriter expected;
    ASSERT_TRUE(reader->WriteDefault(expected, reader->Version()));
    const auto document = WithoutGuids(Build(Scene(className + ".json", R"({ "class": ")" + className + R"(" })")));
    const auto record = WithoutGuids(expected.Bytes());
    EXPECT_EQ(document.size(), empty.size() + record.size());
    EXPECT_NE(std::search(document.begin(), document.end(), record.begin(), record.end()), document.end());
  }
  EXPECT_TRUE(any) << "no object class lists its record";
}

// A slide that names nothing is a new slide's record around a new base layer, as their classes
// set their defaults.
TEST_F(ContentTool, ASlideOfDefaultsIsWhatItsClassesWrite) {
  const auto document = Build(Write("default.json", R"({ "slides": [ { } ] })"));
  // A new slide has no layer and writes none: the layer goes before its two empty lists.
  DS_IOF_ByteWriter slide, layer;
  DS_SlideContainer().Write(slide);
  DS_WriteRecord(layer, DS_2D_LightParams(), "DS_2D_Light");
  std::vector<uint8_t> expected = slide.TakeBytes();
  ASSERT_GT(expected.size(), 8u);
  expected.insert(expected.end() - 8, layer.Bytes().begin(), layer.Bytes().end());
  EXPECT_NE(std::search(document.begin(), document.end(), expected.begin(), expected.end()), document.end());
}

// The ranges a record states for its whole numbers are checked where the description gives them.
TEST_F(ContentTool, DeclaredRangesAreChecked) {
  struct Case {
    const char* slide;
    const char* message;
  };
  const Case cases[] = {
      {R"({ "layer": { "camera": { "zoom": 0 } } })", "slides[0].layer.camera.zoom: 0 is outside 1..100000"},
      {R"({ "layer": { "camera": { "speed": 100001 } } })", "slides[0].layer.camera.speed: 100001 is outside 0..100000"},
      {R"({ "fade_in": 86401 })", "slides[0].fade_in: 86401 is outside 0..86400"},
      {R"({ "display": -1 })", "slides[0].display: -1 is outside 0..86400"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.slide);
    const std::string message = Failure(Options(Write("range.json", std::string(R"({ "slides": [ )") + c.slide + " ] }")));
    EXPECT_NE(message.find(c.message), std::string::npos) << message;
  }
  // The bounds themselves are accepted.
  EXPECT_FALSE(Build(Write("bounds.json", R"({ "slides": [ { "fade_in": 86400, "display": 0,
      "layer": { "camera": { "zoom": 1, "speed": 100000 } } } ] })")).empty());
}

// The carried effects go into the saved resources, unless the description names the key itself.
TEST_F(ContentTool, CarriedEffectsGoInUnlessTheDescriptionNamesThem) {
  const std::string carried = Write("carried.fxo", "CARRIED-EFFECT-BYTES");
  Write("own.fxo", "OWN-EFFECT-BYTES");
  const auto count = [](const std::vector<uint8_t>& bytes, const std::string& text) {
    int n = 0;
    for (auto at = bytes.begin(); (at = std::search(at, bytes.end(), text.begin(), text.end())) != bytes.end(); ++at) ++n;
    return n;
  };
  DS_ContentOptions plain = Options(Scene("plain.json", ""));
  plain.carriedEffects = {{97, carried}, {104, carried}};
  const auto bytes = BuildSceneDocument(plain);
  EXPECT_EQ(count(bytes, "CARRIED-EFFECT-BYTES"), 2);

  DS_ContentOptions own = Options(Write("own.json", R"({ "slides": [ { "name": "s" } ],
      "effects": [ { "library": "common_res.dll", "id": 97, "file": "own.fxo" } ] })"));
  own.carriedEffects = {{97, carried}};
  const auto ownBytes = BuildSceneDocument(own);
  EXPECT_EQ(count(ownBytes, "OWN-EFFECT-BYTES"), 1);
  EXPECT_EQ(count(ownBytes, "CARRIED-EFFECT-BYTES"), 0);

  DS_ContentOptions missing = Options(Scene("missing.json", ""));
  missing.carriedEffects = {{97, (m_Dir / "none.fxo").string()}};
  EXPECT_NE(Failure(missing).find("the carried effect 97: the file"), std::string::npos);
}

}  // namespace
