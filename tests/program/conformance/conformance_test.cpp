// Every class of the census list, checked through its own registry, so that a new kind is
// covered by adding its name: its default record reads back to the same bytes; every older
// version it still reads keeps the defaults of the fields that version lacks; every cut-short
// record stops with the document error (and the same for the nested parts that read older
// versions of their own); its live side is made on a device, draws, and comes
// through device loss and reset, each twice in a row, drawing the same frame as before.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "brushes/water_fx/ds_water_fx.h"
#include "core/data/class_registry.h"
#include "core/data/ds_stream.h"
#include "core/layer/ds_2d_light.h"
#include "core/layer/ds_abobj.h"
#include "core/layer/dsm_camera.h"
#include "core/layer/layer_registry.h"
#include "core/render/device_globals.h"
#include "core/render/view_state.h"
#include "core/resources/doc_res_manager.h"
#include "scene/ds_slide_container.h"
#include "scene/slide_registry.h"
#include "objects/clock/clock_time.h"
#include "objects/sparkle/ds_sparkle_constructor.h"
#include "tests/support/record_fields.h"
#include "tests/program/registered_class_names.h"
#include "tools/device/window_device.h"

// Test names and failure messages show the class name.
void PrintTo(const VQ_RegisteredName& entry, std::ostream* out) { *out << DsToUtf8(entry.name); }

namespace {

constexpr int kWidth = 160, kHeight = 120;

// What differs between the registries: where the class is registered and what its default
// record is.
template <class B>
struct Family;

// A class that lists its record writes the default record in any version it reads from the list.
template <class B>
struct NewObjectFamily {
  static std::vector<uint8_t> DefaultRecord(const IOF_Virtual_ReaderII<B>& reader) { return Written(*reader.CreateDefault()); }
  static bool WriteListed(const IOF_Virtual_ReaderII<B>& reader, const char16_t*, DS_IOF_Virtual& out, uint32_t version) {
    return reader.WriteDefault(out, version);
  }
};

template <>
struct Family<DS_2D_Light> : NewObjectFamily<DS_2D_Light> {
  static DS_ReaderMap<DS_2D_Light>& Registry() { return GetLightReaderMap(); }
};

template <>
struct Family<DS_ABObj_Constructor> : NewObjectFamily<DS_ABObj_Constructor> {
  static DS_ReaderMap<DS_ABObj_Constructor>& Registry() { return GetConstructorReaderMap(); }
};

template <>
struct Family<DS_SlideContainer> {
  static DS_ReaderMap<DS_SlideContainer>& Registry() { return GetSlideReaderMap(); }
  // A slide's record holds its layer, and a new slide has none: its default record is the new
  // slide's with the default base layer in the layer's place, before the two empty lists.
  static std::vector<uint8_t> DefaultRecord(const IOF_Virtual_ReaderII<DS_SlideContainer>& reader) {
    std::vector<uint8_t> slide = Written(*reader.CreateDefault());
    const std::vector<uint8_t> layer = Written(*GetLightReaderMap().at(u"DS_2D_Light")->CreateDefault());
    const std::vector<uint8_t> emptyLists(8, 0);
    EXPECT_GE(slide.size(), emptyLists.size());
    if (slide.size() < emptyLists.size()) return slide;
    const auto at = slide.end() - static_cast<std::ptrdiff_t>(emptyLists.size());
    EXPECT_EQ(std::vector<uint8_t>(at, slide.end()), emptyLists);
    slide.insert(at, layer.begin(), layer.end());
    return slide;
  }
  // The slide that the default record reads into, written from its list.
  static bool WriteListed(const IOF_Virtual_ReaderII<DS_SlideContainer>& reader, const char16_t* name,
                          DS_IOF_Virtual& out, uint32_t version) {
    size_t left = 0;
    const std::unique_ptr<DS_SlideContainer> slide = ReadRecord(Registry(), DefaultRecord(reader), left);
    if (!slide) return false;
    DS_WriteRecord(out, *slide, name, version);
    return true;
  }
};

template <class B>
const IOF_Virtual_ReaderII<B>* ReaderOf(const char16_t* name) {
  const auto& registry = Family<B>::Registry();
  const auto found = registry.find(name);
  return found == registry.end() ? nullptr : found->second;
}

template <class B>
void CheckRecords(const char16_t* name) {
  const IOF_Virtual_ReaderII<B>* reader = ReaderOf<B>(name);
  ASSERT_NE(reader, nullptr) << "not registered";
  const auto& registry = Family<B>::Registry();
  const std::vector<uint8_t> record = Family<B>::DefaultRecord(*reader);
  const uint32_t current = reader->Version();
  ASSERT_GT(current, 0u) << "the class states no version";
  ASSERT_LE(reader->MinVersion(), current);
  ASSERT_GE(reader->MinVersion(), 1u);
  EXPECT_EQ(HeaderVersion(record), current) << "the record's header is not the class's version";

  // The default record reads back to the same bytes.
  EXPECT_TRUE(ReadsBackTo(registry, record, record)) << "the default record does not read back to itself";

  // A class that lists its record writes every version from that list: the current one as the
  // class writes it, and each older one (the fields that version holds, its own steps for older
  // layouts) reads back to the default record, keeping the defaults of the fields it lacks.
  if (!reader->Describe().empty()) {
    DS_IOF_ByteWriter written;
    ASSERT_TRUE(Family<B>::WriteListed(*reader, name, written, current));
    // Each new brush, lake or underwater layer draws a fresh mask GUID, so two new objects'
    // records differ there alone.
    EXPECT_EQ(WithoutGuids(written.Bytes()), WithoutGuids(record)) << "the listed record is not what the class writes";
    for (uint32_t version = reader->MinVersion(); version < current; ++version) {
      DS_IOF_ByteWriter older;
      ASSERT_TRUE(Family<B>::WriteListed(*reader, name, older, version));
      EXPECT_EQ(HeaderVersion(older.Bytes()), version);
      EXPECT_TRUE(ReadsBackTo(registry, older.Bytes(), record, true))
          << "the record of version " << version << " does not read and keep the defaults";
    }
  } else {
    // An older version lacks the fields added since: it is the default record less one run of
    // whole fields after the header, and shorter than every newer one. Read, it keeps their
    // defaults.
    const std::vector<std::pair<size_t, size_t>> runs = FieldRuns(registry, record);
    size_t lastCut = 0;
    for (uint32_t version = current; version-- > reader->MinVersion();) {
      EXPECT_FALSE(OlderRecordByCut(registry, record, runs, version, lastCut).empty())
          << "no record of version " << version << " shorter than the newer ones reads and keeps the defaults";
    }
  }

  // Every cut-short record stops with the document error.
  for (size_t size = 0; size < record.size(); ++size) {
    const std::vector<uint8_t> prefix(record.begin(), record.begin() + static_cast<std::ptrdiff_t>(size));
    size_t left = 0;
    EXPECT_THROW(ReadRecord(registry, prefix, left), DS_DocumentError) << size << " of " << record.size() << " bytes";
  }
}

// The live side of one class on the device.
class LiveSide {
 public:
  virtual ~LiveSide() = default;
  // Whether the live object was made.
  virtual bool Made() const = 0;
  virtual void OnDeviceLost() = 0;
  virtual void OnDeviceReset() = 0;
  // Inside BeginScene and EndScene.
  virtual void Draw(float time) = 0;
};

// A layer as its slide prepares it: device objects, reset, laid out on the back buffer.
std::unique_ptr<DS_2D_Light> PreparedLayer(std::unique_ptr<DS_2D_Light> layer) {
  layer->CreateDeviceObjects();
  layer->OnDeviceReset();
  layer->Layout(kWidth, kHeight);
  return layer;
}

class LayerSide final : public LiveSide {
 public:
  explicit LayerSide(std::unique_ptr<DS_2D_Light> layer) : m_Layer(PreparedLayer(std::move(layer))) {}
  // Its picture, the default one from common_res.dll for a default record, has decoded.
  bool Made() const override { return m_Layer->PictureWidth() > 0; }
  void OnDeviceLost() override { m_Layer->OnDeviceLost(); }
  void OnDeviceReset() override { m_Layer->OnDeviceReset(); }
  void Draw(float time) override {
    m_Layer->Update(time);
    m_Layer->RenderScene(nullptr, 0);
    m_Layer->PostRender();
  }

 private:
  std::unique_ptr<DS_2D_Light> m_Layer;
};

class SlideSide final : public LiveSide {
 public:
  explicit SlideSide(std::unique_ptr<DS_SlideContainer> slide) : m_Slide(std::move(slide)) {
    // Scene start, then the slide becomes current.
    m_Slide->CreateObjects();
    m_Slide->SetSize(kWidth, kHeight);
    m_Slide->Restore();
    m_Slide->SetActive(true);
  }
  bool Made() const override {
    const DS_RefPtr<DS_2D_Light> layer = m_Slide->GetLayer();
    return layer && layer->PictureWidth() > 0 && m_Slide->ParameterSets1().empty() &&
           m_Slide->ParameterSets2().empty();
  }
  void OnDeviceLost() override { m_Slide->OnDeviceLost(); }
  void OnDeviceReset() override { m_Slide->OnDeviceReset(); }
  void Draw(float time) override {
    m_Slide->Update(time);
    m_Slide->Render();
    m_Slide->EndFrame();
  }

 private:
  std::unique_ptr<DS_SlideContainer> m_Slide;
};

// A live object drawn over a default base layer.
class ObjectSide final : public LiveSide {
 public:
  explicit ObjectSide(const DS_ABObj_Constructor& set)
      : m_Layer(PreparedLayer(std::make_unique<DS_2D_Light>())), m_Object(set.CreateObject()) {}
  bool Made() const override { return m_Object != nullptr; }
  void OnDeviceLost() override {
    m_Layer->OnDeviceLost();
    if (m_Object) m_Object->OnDeviceLost();
  }
  void OnDeviceReset() override {
    m_Layer->OnDeviceReset();
    if (m_Object) m_Object->OnDeviceReset();
  }
  void Draw(float time) override {
    m_Layer->Update(time);
    DS_ABObj* objects[1] = {m_Object.get()};
    if (m_Object) m_Object->Update(time);
    m_Layer->RenderScene(objects, m_Object ? 1 : 0);
    m_Layer->PostRender();
  }

 private:
  std::unique_ptr<DS_2D_Light> m_Layer;
  std::unique_ptr<DS_ABObj> m_Object;
};

// The live side of the object that the class's default record reads into.
template <class B>
std::unique_ptr<B> ReadDefault(const char16_t* name) {
  const IOF_Virtual_ReaderII<B>* reader = ReaderOf<B>(name);
  if (!reader) return nullptr;
  size_t left = 0;
  return ReadRecord(Family<B>::Registry(), Family<B>::DefaultRecord(*reader), left);
}

std::unique_ptr<LiveSide> MakeLiveSide(const VQ_RegisteredName& entry) {
  switch (entry.registry) {
    case VQ_Registry::Layer:
      if (auto layer = ReadDefault<DS_2D_Light>(entry.name)) return std::make_unique<LayerSide>(std::move(layer));
      break;
    case VQ_Registry::Slide:
      if (auto slide = ReadDefault<DS_SlideContainer>(entry.name)) return std::make_unique<SlideSide>(std::move(slide));
      break;
    case VQ_Registry::Constructor:
      if (auto set = ReadDefault<DS_ABObj_Constructor>(entry.name)) return std::make_unique<ObjectSide>(*set);
      break;
  }
  return nullptr;
}


std::string TestName(const testing::TestParamInfo<VQ_RegisteredName>& info) { return DsToUtf8(info.param.name); }

class ClassRecords : public testing::TestWithParam<VQ_RegisteredName> {};

TEST_P(ClassRecords, ReadBackInEveryVersionAndStopWhenCutShort) {
  const VQ_RegisteredName& entry = GetParam();
  switch (entry.registry) {
    case VQ_Registry::Layer: CheckRecords<DS_2D_Light>(entry.name); break;
    case VQ_Registry::Slide: CheckRecords<DS_SlideContainer>(entry.name); break;
    case VQ_Registry::Constructor: CheckRecords<DS_ABObj_Constructor>(entry.name); break;
  }
}

INSTANTIATE_TEST_SUITE_P(Registered, ClassRecords, testing::ValuesIn(kRegisteredClassNames), TestName);

// A nested part that still reads older versions of its own is written in each of them from its
// list and read as its outer record reads it (header, then that version's fields): it keeps the
// defaults of the fields that version lacks. A record cut short stops with the document error.
// A part that is only ever the base of a kind is made as one such kind (`Outer`) and written and
// read as the part alone.
template <class P, class Outer = P>
void CheckPartRecords(const char* className) {
  const std::unique_ptr<P> fresh = std::make_unique<Outer>();
  DS_IOF_ByteWriter current;
  DS_WriteRecord(current, *fresh, className);
  const auto readBack = [](const std::vector<uint8_t>& bytes, size_t& left) {
    ResourceBuffer buffer(bytes.data(), bytes.size());
    DS_DocumentReader reader(&buffer);
    std::unique_ptr<P> part = std::make_unique<Outer>();
    DS_ReadNestedRecord(reader, *part);
    left = buffer.Remaining();
    return part;
  };
  ASSERT_LT(DS_RecordMinVersionOf<P>::value, DS_RecordVersionOf<P>::value) << "reads no older version";
  for (uint32_t version = DS_RecordMinVersionOf<P>::value; version < DS_RecordVersionOf<P>::value; ++version) {
    SCOPED_TRACE(version);
    DS_IOF_ByteWriter older;
    DS_WriteRecord(older, *fresh, className, version);
    EXPECT_EQ(HeaderVersion(older.Bytes()), version);
    EXPECT_LT(older.Bytes().size(), current.Bytes().size());
    size_t left = 0;
    const auto part = readBack(older.Bytes(), left);
    EXPECT_EQ(left, 0u);
    DS_IOF_ByteWriter again;
    DS_WriteRecord(again, *part, className);
    EXPECT_EQ(again.Bytes(), current.Bytes()) << "the record of version " << version << " does not keep the defaults";
  }
  for (size_t size = 0; size < current.Bytes().size(); ++size) {
    const std::vector<uint8_t> prefix(current.Bytes().begin(), current.Bytes().begin() + static_cast<std::ptrdiff_t>(size));
    size_t left = 0;
    EXPECT_THROW(readBack(prefix, left), DS_DocumentError) << size << " of " << current.Bytes().size() << " bytes";
  }
}

TEST(NestedParts, TheCameraReadsBackInEveryVersionAndStopsWhenCutShort) {
  CheckPartRecords<DSM_Camera>("DSM_Camera");
}

TEST(NestedParts, TheBaseLayerReadsBackInEveryVersionAndStopsWhenCutShort) {
  CheckPartRecords<DS_2D_Light>("DS_2D_Light");
}

TEST(NestedParts, TheSpritePropertiesReadBackInEveryVersionAndStopWhenCutShort) {
  CheckPartRecords<DS_BaseSpriteProp, DS_SparkleConstructor>("DS_BaseSpriteProp");
}

TEST(NestedParts, TheBrushBaseReadsBackInEveryVersionAndStopsWhenCutShort) {
  CheckPartRecords<DS_FX_Constructor, DS_WaterFX>("DS_FX_Constructor");
}

class ClassOnDevice : public testing::TestWithParam<VQ_RegisteredName> {
 protected:
  static void SetUpTestSuite() {
    // Kinds that show the wall clock show one fixed time, so that two frames compare.
    SetClockCalendarSource([]() -> __time64_t { return 1767225600; });
    s_Device = new DS_WindowDevice;
    if (!s_Device->Open(kWidth, kHeight, L"conformance test")) {
      delete s_Device;
      s_Device = nullptr;
    }
  }
  static void TearDownTestSuite() {
    SetClockCalendarSource(nullptr);
    g_ViewState.ReleaseBorders();
    delete s_Device;
    s_Device = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(s_Device, nullptr) << "no device";
    s_Device->MakeCurrent();
    m_Manager = std::make_unique<DS_DocResManager>();
    g_DocResManager = m_Manager.get();
  }
  void TearDown() override {
    g_ViewState.ReleaseBorders();
    g_DocResManager = nullptr;
    m_Manager.reset();
  }

  IDirect3DDevice9* Device() const { return s_Device->Device(); }

  // One frame drawn and read back.
  DS_PixelReadback Frame(LiveSide& side, float time) {
    DS_PixelReadback pixels;
    EXPECT_EQ(Device()->BeginScene(), D3D_OK);
    side.Draw(time);
    EXPECT_EQ(Device()->EndScene(), D3D_OK);
    EXPECT_TRUE(pixels.ReadBackBuffer(Device()));
    return pixels;
  }

  static DS_WindowDevice* s_Device;
  std::unique_ptr<DS_DocResManager> m_Manager;
};
DS_WindowDevice* ClassOnDevice::s_Device = nullptr;

TEST_P(ClassOnDevice, IsMadeAndComesThroughLossAndResetTwice) {
  // A kind may start its simulation again on a reset from new random draws (the water rings'
  // first drop): the random generator starts from the same seed before it is made (its device
  // objects, then a reset) and before the two resets.
  constexpr unsigned kSeed = 1;
  std::srand(kSeed);
  std::unique_ptr<LiveSide> side = MakeLiveSide(GetParam());
  ASSERT_NE(side, nullptr) << "the default record does not read";
  EXPECT_TRUE(side->Made());
  const DS_PixelReadback before = Frame(*side, 0.5f);

  // Lost twice, the device reset, reset twice: nothing is kept that stops the reset, nothing is
  // made twice over, and the next frame is the same.
  // The scene tells its resource manager once, after its slides let go and before they return.
  side->OnDeviceLost();
  side->OnDeviceLost();
  m_Manager->OnDeviceLost();
  ASSERT_EQ(Device()->Reset(&s_Device->PresentParameters()), D3D_OK);
  m_Manager->OnDeviceReset();
  std::srand(kSeed);
  side->OnDeviceReset();
  side->OnDeviceReset();
  const DS_PixelReadback after = Frame(*side, 0.5f);
  ASSERT_EQ(after.Width(), before.Width());
  ASSERT_EQ(after.Height(), before.Height());
  int differing = 0;
  for (int y = 0; y < after.Height(); ++y)
    for (int x = 0; x < after.Width(); ++x) differing += SameColour(before.At(x, y), after.At(x, y), 2) ? 0 : 1;
  EXPECT_EQ(differing, 0) << "pixels differ from the frame before the loss";

  // What the second reset made is released by one loss again.
  side->OnDeviceLost();
  m_Manager->OnDeviceLost();
  EXPECT_EQ(Device()->Reset(&s_Device->PresentParameters()), D3D_OK);
  m_Manager->OnDeviceReset();
  side->OnDeviceReset();
}

INSTANTIATE_TEST_SUITE_P(Registered, ClassOnDevice, testing::ValuesIn(kRegisteredClassNames), TestName);

}  // namespace
