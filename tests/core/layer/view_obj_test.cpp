// The live-object base and the view parameters: a parameter set read through the constructor
// registry (a kind registered only here), the live object made from it with its clone's pixel
// rectangle recomputed from the fractions, the edge listeners, zero-size pictures, the speed
// step and the clone's ownership.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "core/data/class_registry.h"
#include "core/layer/ds_abobj.h"
#include "core/layer/view_obj_ctrl.h"
#include "core/render/quads.h"
#include "core/render/render_context.h"
#include "core/render/view_state.h"
#include "tests/support/random_sequence.h"

namespace {

int g_LiveKinds = 0;
int g_Queries = 0;

class TestLiveObject : public DS_ABObj {
 public:
  using DS_ABObj::DS_ABObj;
  void Render(DS_2D_Light&) override {}
  void DrawBounds(DS_2D_Light&, int) override {}
  void Update(float time) override;
  void SyncRect() override {}
};

// A visible object kind with one field of its own before its view part.
class TestViewKind : public DS_ViewObjCtrl {
 public:
  TestViewKind() { ++g_LiveKinds; }
  TestViewKind(const TestViewKind& source) : DS_ViewObjCtrl(source), own(source.own) { ++g_LiveKinds; }
  ~TestViewKind() override { --g_LiveKinds; }

  std::unique_ptr<DS_ABObj> CreateObject() const override {
    return std::make_unique<TestLiveObject>(std::make_unique<TestViewKind>(*this));
  }
  uint32_t ObjectQuery(DS_ABObj*) override { return static_cast<uint32_t>(++g_Queries); }
  void Write(DS_IOF_Virtual& out) const override {
    DS_WriteHeader(out, u"TestViewKind", 1);
    out.WriteUInt(own);
    WriteObject(out);
  }
  void ReadFields(DS_IOF_Virtual& in, uint32_t) {
    in.ReadUInt(own);
    ReadObject(in);
  }
  uint32_t own = 0;
};
DS_REGISTER_CONSTRUCTOR(TestViewKind);

void TestLiveObject::Update(float time) { static_cast<DS_ViewObjCtrl*>(Control())->Step(time); }

class ViewObjects : public ::testing::Test {
 protected:
  void SetUp() override { SetPicture(1024, 768); }
  void TearDown() override { SetPicture(0, 0); }
  static void SetPicture(int w, int h) {
    DS_ScreenMapping& mapping = CurrentRenderContext().mapping;
    mapping.pictureWidth = w;
    mapping.pictureHeight = h;
  }
  // A stored kind with a view part of the given version; the pixel rectangle (1, 2, 3, 4) does
  // not agree with the fractions, as an edited document's may not.
  static std::vector<uint8_t> Record(uint32_t viewVersion, uint8_t flagByte = 1) {
    DS_IOF_ByteWriter out;
    DS_WriteHeader(out, u"TestViewKind", 1);
    out.WriteUInt(7);
    DS_WriteHeader(out, u"DS_ViewObjCtrl", viewVersion);
    for (int32_t v : {1, 2, 3, 4, 0, 0}) out.WriteInt(v);
    for (float f : {0.25f, 0.75f, 0.1f, 0.6f}) out.WriteFloat(f);
    out.WriteByte(flagByte);
    if (viewVersion > 1) out.WriteUInt(100);
    DS_WriteHeader(out, u"DS_ABObj_Constructor", 1);
    out.WriteString(u"pond");
    return out.TakeBytes();
  }
  static std::unique_ptr<TestViewKind> Read(const std::vector<uint8_t>& bytes) {
    ResourceBuffer buffer(bytes.data(), bytes.size());
    DS_DocumentReader in(&buffer);
    std::unique_ptr<DS_ABObj_Constructor> read = ReadConstructorObject(in);
    EXPECT_EQ(in.Remaining(), 0u);
    return std::unique_ptr<TestViewKind>(static_cast<TestViewKind*>(read.release()));
  }
};

TEST_F(ViewObjects, TheRecordIsReadAsStoredInEachVersion) {
  for (uint32_t version : {1u, 2u}) {
    SCOPED_TRACE(version);
    std::unique_ptr<TestViewKind> kind = Read(Record(version, 2));
    ASSERT_NE(kind, nullptr);
    EXPECT_EQ(kind->own, 7u);
    // Reading tells no listener: pixels and fractions stay as stored, even where they disagree.
    EXPECT_EQ(kind->rectangle.left.Get(), 1);
    EXPECT_EQ(kind->rectangle.bottom.Get(), 4);
    EXPECT_FLOAT_EQ(kind->view.left, 0.25f);
    EXPECT_FLOAT_EQ(kind->view.bottom, 0.6f);
    EXPECT_TRUE(kind->flag);  // any byte other than 0
    EXPECT_EQ(kind->speed.Get(), version > 1 ? 100u : 50u);
    EXPECT_EQ(kind->objectName, u"pond");
    EXPECT_TRUE(kind->placed);  // not stored
  }
}

TEST_F(ViewObjects, ALiveObjectOwnsACloneWhosePixelsFollowItsFractions) {
  std::unique_ptr<TestViewKind> kind = Read(Record(2));
  ASSERT_NE(kind, nullptr);
  std::unique_ptr<DS_ABObj> live = kind->CreateObject();
  EXPECT_EQ(g_LiveKinds, 2);
  kind.reset();  // the slide deletes the parameter sets once their objects exist
  auto& clone = *static_cast<TestViewKind*>(live->Control());
  EXPECT_EQ(clone.own, 7u);
  EXPECT_EQ(clone.speed.Get(), 100u);
  EXPECT_EQ(clone.rectangle.left.Get(), 256);
  EXPECT_EQ(clone.rectangle.right.Get(), 768);
  EXPECT_EQ(clone.rectangle.top.Get(), 76);  // trunc(0.1 x 768)
  EXPECT_EQ(clone.rectangle.bottom.Get(), 460);
  EXPECT_FLOAT_EQ(clone.view.top, 76.0f / 768.0f);  // the listeners read the whole pixels back
  EXPECT_FLOAT_EQ(clone.PixelLeft(), 256.0f);
  EXPECT_FLOAT_EQ(clone.PixelRight(), 768.0f);

  // Editing an edge moves the fraction.
  clone.rectangle.left.Set(512);
  EXPECT_FLOAT_EQ(clone.view.left, 0.5f);
  clone.rectangle.bottom.Set(768);
  EXPECT_FLOAT_EQ(clone.view.bottom, 1.0f);

  g_Queries = 0;
  EXPECT_EQ(live->ForwardToCtrl(), 1u);  // the clone answered
  EXPECT_EQ(g_Queries, 1);
  live.reset();
  EXPECT_EQ(g_LiveKinds, 0);
}

TEST_F(ViewObjects, DefaultFractionsGiveTheWholePictureAsPixelQuad) {
  TestViewKind kind;
  DS_ScreenQuad quad;
  kind.PixelQuad(quad);
  const float expected[4][2] = {{0, 768}, {0, 0}, {1024, 768}, {1024, 0}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_FLOAT_EQ(quad.corners[i].x, expected[i][0]);
    EXPECT_FLOAT_EQ(quad.corners[i].y, expected[i][1]);
    EXPECT_FLOAT_EQ(quad.corners[i].z, 1.0f);
  }
  EXPECT_FLOAT_EQ(quad.corners[1].u, 0.0f);
  EXPECT_FLOAT_EQ(quad.corners[0].v, 1.0f);
  kind.rectangle.left.Set(256);
  EXPECT_FLOAT_EQ(kind.view.left, 0.25f);
}

TEST_F(ViewObjects, OnAPictureOfSizeZeroTheFractionsAreKept) {
  std::unique_ptr<TestViewKind> kind = Read(Record(2));
  SetPicture(0, 0);
  std::unique_ptr<DS_ABObj> live = kind->CreateObject();
  auto& clone = *static_cast<TestViewKind*>(live->Control());
  EXPECT_FLOAT_EQ(clone.view.left, 0.25f);
  EXPECT_FLOAT_EQ(clone.view.right, 0.75f);
  EXPECT_FLOAT_EQ(clone.view.top, 0.1f);
  EXPECT_FLOAT_EQ(clone.view.bottom, 0.6f);
  // The same object on a following slide's real picture gets its pixels from the kept fractions.
  SetPicture(1000, 500);
  clone.PushRectToParams();
  EXPECT_EQ(clone.rectangle.left.Get(), 250);
  EXPECT_EQ(clone.rectangle.bottom.Get(), 300);
}

TEST_F(ViewObjects, TheSpeedStepIsCappedAtAFifthOfASecond) {
  std::unique_ptr<TestViewKind> kind = Read(Record(1));  // speed 50: one unit per second
  std::unique_ptr<DS_ABObj> live = kind->CreateObject();
  auto& clone = *static_cast<TestViewKind*>(live->Control());
  live->Update(0.5f);
  EXPECT_FLOAT_EQ(clone.FrameTime(), 0.1f);
  EXPECT_FLOAT_EQ(clone.StepValue(), 0.2f);
  live->Update(0.6f);
  EXPECT_NEAR(clone.StepValue(), 0.1f, 1e-6f);
  clone.speed.Set(100);
  live->Update(3.0f);
  EXPECT_NEAR(clone.StepValue(), 0.4f, 1e-6f);
  EXPECT_NEAR(clone.Phase(), 0.7f, 1e-5f);
}

TEST_F(ViewObjects, RandomPointsStayInTheViewRectangle) {
  TestViewKind kind;
  kind.view = {0.25f, 0.75f, 0.5f, 1.0f};
  kind.random = RandomSequence::Next;
  RandomSequence::Set({0, 32767, 32767, 0});
  const DS_Point3 corner = kind.RandomPoint();
  EXPECT_FLOAT_EQ(corner.x, 256.0f);
  EXPECT_FLOAT_EQ(corner.y, 768.0f);
  const DS_Point3 inset = kind.RandomPointInset(10.0f, 20.0f);
  EXPECT_FLOAT_EQ(inset.x, 758.0f);
  EXPECT_FLOAT_EQ(inset.y, 404.0f);
  EXPECT_FLOAT_EQ(inset.z, 0.0f);
}

}  // namespace
