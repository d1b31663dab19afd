// The slide show's platform-free part: counted holders, slide timing, and the document loader
// over good, truncated and unplayable documents (run with the sanitizers on the host, where every
// prefix of a document lies in a heap block of exactly its size).
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "core/data/ds_stream.h"
#include "core/resources/resource_record.h"
#include "scene/scene_document.h"
#include "tests/support/test_bytes.h"
#include "tests/support/host_standins.h"

namespace {

struct Counted {
  explicit Counted(int* deaths) : deaths(deaths) {}
  ~Counted() { ++*deaths; }
  int* deaths;
};

TEST(RefPtr, SharesOneBlockAndDestroysOnceWhenTheLastHolderGoes) {
  int deaths = 0;
  {
    DS_RefPtr<Counted> a(std::make_unique<Counted>(&deaths));
    EXPECT_EQ(a.UseCount(), 1);
    DS_RefPtr<Counted> b = a;
    DS_RefPtr<Counted> c;
    EXPECT_FALSE(c);
    EXPECT_EQ(c.UseCount(), 1);  // a holder with no object has its own block
    c = b;
    DS_RefPtr<Counted>& same = c;
    c = same;  // assigning a holder to itself keeps the share
    EXPECT_EQ(a.UseCount(), 3);
    a.Release();
    b = DS_RefPtr<Counted>();
    EXPECT_EQ(deaths, 0);
    EXPECT_EQ(c.UseCount(), 1);
    EXPECT_EQ(c->deaths, &deaths);
  }
  EXPECT_EQ(deaths, 1);
}

// Runs the sequence over a list of (time, expected current slide, expected overlay or -1 for none).
struct Frame {
  float t;
  size_t current;
  float overlay;
};

void ExpectFrames(const std::vector<DS_SlideTimes>& slides, const std::vector<Frame>& frames) {
  DS_SlideSequence sequence;
  for (const Frame& f : frames) {
    const auto step = sequence.Advance(f.t, slides.size(), [&](size_t i) { return slides[i]; });
    SCOPED_TRACE(testing::Message() << "t = " << f.t);
    EXPECT_EQ(step.current, f.current);
    if (f.overlay < 0) {
      EXPECT_FALSE(step.hasOverlay);
    } else {
      ASSERT_TRUE(step.hasOverlay);
      EXPECT_NEAR(step.overlay, f.overlay, 1e-4f);
    }
  }
}

TEST(SlideSequence, TwoSlidesFadeOutSwitchAndFadeIn) {
  // First update at 100: slide 0 starts at the end of its fade-in (e = 1).
  ExpectFrames({{1, 10, 1}, {1, 10, 1}}, {
                                             {100.0f, 0, -1},
                                             {100.5f, 0, 0.0f},
                                             {110.5f, 0, 0.5f},  // e = 11.5: half-way out
                                             {111.0f, 0, 1.0f},  // e = 12: black
                                             {111.25f, 1, 1.0f}, // switch: e = 0, black
                                             {111.75f, 1, 0.5f}, // fading in
                                             {112.25f, 1, 0.0f},
                                             {123.5f, 0, 1.0f},  // slide 0 again, this time fading in
                                             {124.0f, 0, 0.5f},
                                         });
}

TEST(SlideSequence, OneSlideIsNeverFadedNorSwitched) {
  ExpectFrames({{1, 1, 1}}, {{0.0f, 0, -1}, {5.0f, 0, -1}, {500.0f, 0, -1}});
}

TEST(SlideSequence, ThreeSlidesWrapAndAZeroFadeOutNeverDividesByZero) {
  ExpectFrames({{0, 1, 0}, {0, 1, 0}, {0, 1, 0}}, {
                                                      {0.0f, 0, -1},
                                                      {0.5f, 0, 0.0f},
                                                      {1.5f, 1, 0.0f},
                                                      {3.0f, 2, 0.0f},
                                                      {4.5f, 0, 0.0f},
                                                      {6.0f, 1, 0.0f},
                                                  });
}

class SceneDocument : public testing::Test {
 protected:
  void SetUp() override { InstallHostSlideParts(); }

  // Reads the manager part with the bounded table reader and counts the calls.
  std::unique_ptr<DS_SlideShow_Light> Read(const std::vector<uint8_t>& bytes, std::string* reason = nullptr) {
    // An exact-size heap copy: a read past its end is seen by the address sanitizer.
    std::unique_ptr<uint8_t[]> copy(new uint8_t[bytes.size() ? bytes.size() : 1]);
    std::copy(bytes.begin(), bytes.end(), copy.get());
    managerVersion = 0;
    return ReadSceneDocument(copy.get(), bytes.size(), [&](DS_IOF_Virtual& in, uint32_t version) {
      managerVersion = version;
      for (int table = 0; table < 4; ++table) EXPECT_EQ(DS_ReadCount(in, 4), 0u);
    }, reason);
  }
  uint32_t ReadFails(const std::vector<uint8_t>& bytes, std::string* reason = nullptr) {
    try {
      Read(bytes, reason);
    } catch (uint32_t code) {
      return code;
    }
    return 0;
  }

  uint32_t managerVersion = 0;
};

TEST_F(SceneDocument, ReadsSlidesLayersObjectListsAndMusicFiles) {
  TestSlide first;
  first.fadeIn = 2;
  first.fadeOut = 3;
  first.display = 4;
  first.name = u"Meadow";
  first.list1 = {u"bird", u"fish"};
  first.list2 = {u"sound"};
  TestSlide second;
  second.version = 1;  // no second list
  second.picture = u"pictures/night.png";
  second.pictureStamp = 77;
  second.list1 = {u"rain"};
  TestMusic music{u"Theme", u"C:\\music\\theme.wav", {1, 2, 3, 4, 5}};
  auto bytes = MakeDocument({first, second}, {music});
  bytes.insert(bytes.end(), {9, 9, 9});  // bytes after the manager change nothing

  const auto show = Read(bytes);
  EXPECT_EQ(managerVersion, 3u);
  ASSERT_EQ(show->Slides().size(), 2u);
  const DS_SlideContainer& a = *show->Slides()[0];
  EXPECT_EQ(a.fadeIn.Get(), 2u);
  EXPECT_EQ(a.fadeOut.Get(), 3u);
  EXPECT_EQ(a.display.Get(), 4u);
  EXPECT_EQ(a.name.Get(), u"Meadow");
  EXPECT_EQ(a.Times().fadeOut, 3.0f);
  ASSERT_EQ(a.ParameterSets1().size(), 2u);
  EXPECT_EQ(a.ParameterSets1()[1]->objectName, u"fish");
  ASSERT_EQ(a.ParameterSets2().size(), 1u);
  EXPECT_EQ(a.ParameterSets2()[0]->objectName, u"sound");
  EXPECT_EQ(a.GetLayer()->picture.stamp, 5);
  EXPECT_EQ(a.GetLayer()->border.stamp, 6);
  EXPECT_EQ(a.GetLayer()->zoom, 120u);

  const DS_SlideContainer& b = *show->Slides()[1];
  EXPECT_EQ(b.GetLayer()->picture.name, u"pictures/night.png");
  EXPECT_EQ(b.ParameterSets1().size(), 1u);
  EXPECT_TRUE(b.ParameterSets2().empty());

  ASSERT_EQ(show->MusicFiles().size(), 1u);
  const DS_AudioFile& file = *show->MusicFiles()[0];
  EXPECT_EQ(file.name, u"Theme");
  EXPECT_EQ(file.file.name, u"C:\\music\\theme.wav");
  EXPECT_EQ(file.file.bytes, (std::vector<uint8_t>{1, 2, 3, 4, 5}));
}

TEST_F(SceneDocument, WritingAReadShowGivesTheSameBytes) {
  TestSlide slide;
  slide.list1 = {u"a"};
  slide.list2 = {u"b", u"c"};
  const auto bytes = MakeDocument({slide, TestSlide()}, {{u"n", u"p.wav", {7, 8}}}, u"");
  const auto show = Read(bytes);
  DS_IOF_ByteWriter writer;
  writer.WriteString(u"");
  show->Write(writer);
  DS_WriteHeader(writer, u"DS_DocResManager", 3);
  for (int i = 0; i < 4; ++i) writer.WriteULong(0);
  EXPECT_EQ(writer.Bytes(), bytes);
}

TEST_F(SceneDocument, EveryPrefixOfADocumentIsRejected) {
  TestSlide slide;
  slide.list1 = {u"bird"};
  slide.list2 = {u"sound"};
  const auto bytes = MakeDocument({slide}, {{u"m", u"x.wav", {1, 2, 3}}});
  ASSERT_NE(Read(bytes), nullptr);
  const int layersBefore = g_HostLayersDestroyed;
  for (size_t n = 0; n < bytes.size(); ++n) {
    SCOPED_TRACE(testing::Message() << "prefix of " << n << " bytes");
    EXPECT_EQ(ReadFails(std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(n))),
              DS_E_DOCUMENT_UNUSABLE);
  }
  // Layers read before the cut were freed with the partial show, none twice.
  EXPECT_GT(g_HostLayersDestroyed, layersBefore);
}

TEST_F(SceneDocument, UnplayableDocumentsAreRejected) {
  TestSlide lowerCaseLayer;
  lowerCaseLayer.layerClass = u"ds_2d_light";
  TestSlide unknownObject;
  unknownObject.list1 = {u"x"};
  unknownObject.objectClass = u"DS_NoSuchConstructor";
  TestSlide unknownSound;
  unknownSound.list2 = {u"x"};
  unknownSound.objectClass = u"DS_NoSuchConstructor";

  // A slide of a class no slide registry holds, counts the data cannot hold, a cut document.
  TestBytes unknownSlide;
  unknownSlide.Str(u"t").Header(u"DS_SlideShow_Light", 1).U32(1).Header(u"DS_Slide", 2).U32(0).U32(0);
  TestBytes hugeCount;
  hugeCount.Str(u"t").Header(u"DS_SlideShow_Light", 1).U32(0xFFFFFFFFu);
  const std::vector<uint8_t> whole = MakeDocument({TestSlide()});

  // Each is refused with the same code and a reason of its own.
  const struct {
    const char* what;
    std::vector<uint8_t> bytes;
    const char* reason;
  } cases[] = {
      {"no slides", MakeDocument({}), "the document holds no slide"},
      {"a layer class in lower case", MakeDocument({TestSlide(), lowerCaseLayer}),
       "a slide names a layer class that is not registered"},
      {"an unknown object class in list 1", MakeDocument({unknownObject}),
       "a slide names an object class that is not registered"},
      {"an unknown object class in list 2", MakeDocument({unknownSound}),
       "a slide names an object class that is not registered"},
      {"an unknown slide class", unknownSlide.bytes, "the slide list names a class that is not registered"},
      {"a huge slide count", hugeCount.bytes, "a list count exceeds the bytes that remain in the document"},
      {"cut inside the manager", std::vector<uint8_t>(whole.begin(), whole.end() - 2),
       "the document is cut short: the document ends inside a record"},
      {"empty", {}, "the document is empty"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::string reason;
    EXPECT_EQ(ReadFails(c.bytes, &reason), DS_E_DOCUMENT_UNUSABLE);
    EXPECT_EQ(reason, c.reason);
  }
}

TEST_F(SceneDocument, OnlyBytesWithATagAndARootHeaderBeginAsASceneDocument) {
  const std::vector<uint8_t> scene = MakeDocument({TestSlide()});
  TestBytes layer;
  layer.Header(u"DS_2D_Light", 3).Key(u"picture.png", 1);
  TestBytes unnamedLayer;  // an empty picture link: a string follows the version
  unnamedLayer.Header(u"DS_2D_Light", 3).Key(u"", 0);
  TestBytes otherRoot;
  otherRoot.Str(u"QXJ v 4.0.0").Header(u"DS_SlideShow", 1);
  TestBytes cutVersion;
  cutVersion.Str(u"QXJ v 4.0.0").Str(u"DS_SlideShow_Light").U16(1);
  const struct {
    const char* what;
    std::vector<uint8_t> bytes;
    bool scene;
  } cases[] = {
      {"a scene document", scene, true},
      {"its tag and header only", std::vector<uint8_t>(scene.begin(), scene.begin() + 70), true},
      {"cut inside the header", std::vector<uint8_t>(scene.begin(), scene.begin() + 30), false},
      {"cut inside the root's version", cutVersion.bytes, false},
      {"a layer record", layer.bytes, false},
      {"a layer record without a picture", unnamedLayer.bytes, false},
      {"another root class", otherRoot.bytes, true},
      {"another root class, whole", MakeDocument({TestSlide()}, {}, u"QXJ v 4.0.0", u"Diaporama"), true},
      {"an empty root name", MakeDocument({TestSlide()}, {}, u"QXJ v 4.0.0", u""), true},
      {"a tag that names a layer class", MakeDocument({TestSlide()}, {}, u"DS_2D_Light"), true},
      {"an empty tag", MakeDocument({TestSlide()}, {}, u""), true},
      {"empty", {}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    // An exact-size heap copy, so that a look past the end is seen.
    std::unique_ptr<uint8_t[]> copy(new uint8_t[c.bytes.empty() ? 1 : c.bytes.size()]);
    std::copy(c.bytes.begin(), c.bytes.end(), copy.get());
    EXPECT_EQ(BeginsAsSceneDocument(copy.get(), c.bytes.size()), c.scene);
  }
}

// Documents written by the content tool from the descriptions in the tree.
TEST_F(SceneDocument, ContentToolDocumentsLoad) {
  const char* dir = std::getenv("VQ_TEST_DOCUMENTS");
  ASSERT_NE(dir, nullptr) << "VQ_TEST_DOCUMENTS names the folder of the written documents";
  std::ifstream file(std::string(dir) + "/two-slides.dds", std::ios::binary);
  ASSERT_TRUE(file) << dir;
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  DS_ResourceRecordTables tables;
  const auto show = ReadSceneDocument(bytes.data(), bytes.size(), [&](DS_IOF_Virtual& in, uint32_t version) {
    ReadResourceRecordTables(in, version, tables);
  });
  ASSERT_EQ(show->Slides().size(), 2u);
  for (const auto& slide : show->Slides()) {
    EXPECT_EQ(slide->fadeIn.Get(), 1u);
    EXPECT_EQ(slide->display.Get(), 2u);
    EXPECT_EQ(slide->fadeOut.Get(), 1u);
    // The layer's picture is embedded in the picture table under the link's own key.
    const auto found = tables.pictureEntries.find(slide->GetLayer()->picture);
    ASSERT_NE(found, tables.pictureEntries.end());
    ASSERT_EQ(found->second.size(), 1u);
    EXPECT_FALSE(found->second[0].name.empty());
    ASSERT_GT(found->second[0].bytes.size(), 54u);
    EXPECT_EQ(found->second[0].bytes[0], 'B');
    EXPECT_EQ(slide->GetLayer()->cameraMode, 0);
    EXPECT_NE(tables.pictureEntries.find(slide->GetLayer()->border), tables.pictureEntries.end());
  }
  EXPECT_EQ(show->Slides()[0]->name.Get(), u"Red");
  EXPECT_NE(show->Slides()[0]->GetLayer()->picture, show->Slides()[1]->GetLayer()->picture);
  // Both slides share one border picture.
  EXPECT_EQ(tables.pictureEntries.size(), 3u);
}

TEST_F(SceneDocument, DefaultSceneLoadsWithItsPicturesAndMusic) {
  const char* path = std::getenv("VQ_DEFAULT_SCENE");
  ASSERT_NE(path, nullptr) << "VQ_DEFAULT_SCENE names the written default scene";
  std::ifstream file(path, std::ios::binary);
  ASSERT_TRUE(file) << path;
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  DS_ResourceRecordTables tables;
  const auto show = ReadSceneDocument(bytes.data(), bytes.size(), [&](DS_IOF_Virtual& in, uint32_t version) {
    ReadResourceRecordTables(in, version, tables);
  });
  // The six painted slides, then those of the slide files (resources/documents/slides).
  const char* slideCount = std::getenv("VQ_DEFAULT_SCENE_SLIDES");
  ASSERT_NE(slideCount, nullptr);
  ASSERT_EQ(show->Slides().size(), std::stoul(slideCount));
  ASSERT_GE(show->Slides().size(), 6u);
  for (size_t i = 0; i < 6; ++i) {
    const auto& slide = show->Slides()[i];
    EXPECT_GT(slide->fadeIn.Get(), 0u);
    EXPECT_NE(slide->GetLayer()->cameraMode, 0);  // the camera moves
    const auto found = tables.pictureEntries.find(slide->GetLayer()->picture);
    ASSERT_NE(found, tables.pictureEntries.end());
    EXPECT_EQ(found->second.at(0).bytes.at(0), 0xFF);  // JPEG
  }
  for (const auto& slide : show->Slides()) EXPECT_GT(slide->display.Get(), 0u) << "a slide that is never shown";
  ASSERT_EQ(show->MusicFiles().size(), 2u);
  EXPECT_EQ(show->MusicFiles()[0]->file.name, u"C:\\Vorniquel\\music\\dawn.wav");
  EXPECT_EQ(std::string(show->MusicFiles()[1]->file.bytes.begin(), show->MusicFiles()[1]->file.bytes.begin() + 4), "RIFF");
}

}  // namespace
