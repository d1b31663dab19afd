// The slide show on a device under Wine: a two-slide document written by the content tool plays
// its fades at chosen times, the picture position reaches every slide, live objects of both lists
// are made at scene start and only the first list is drawn (last to first), a device loss and
// reset bring the current slide back, and through losses and switches of a three-slide show every
// live object is told of every loss and reset once before it runs again.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "core/data/class_registry.h"
#include "core/layer/ds_2d_light.h"
#include "core/layer/ds_abobj.h"
#include "core/render/device_globals.h"
#include "core/render/view_state.h"
#include "core/resources/doc_res_manager.h"
#include "scene/scene_document.h"
#include "tools/device/window_device.h"
#include "tests/support/test_bytes.h"

namespace {

constexpr int kWidth = 160, kHeight = 120;
constexpr uint32_t kColour1 = 0xC03020, kColour2 = 0x2040C0;

std::vector<std::string> g_Events;

class RecordingObject final : public DS_ABObj {
 public:
  explicit RecordingObject(std::unique_ptr<DS_ABObj_Constructor> control) : DS_ABObj(std::move(control)) {}
  void Render(DS_2D_Light&) override { Log("render"); }
  void DrawBounds(DS_2D_Light&, int) override {}
  void Update(float) override { Log("update"); }
  void SyncRect() override {}
  void SetActive(bool active) override { Log(active ? "on" : "off"); }
  void OnDeviceLost() override { Log("lost"); }
  void OnDeviceReset() override { Log("reset"); }

 private:
  void Log(const char* what) { g_Events.push_back(std::string(what) + " " + DsToUtf8(Control()->objectName)); }
};

class VQTest_Recorder final : public DS_ABObj_Constructor {
 public:
  std::unique_ptr<DS_ABObj> CreateObject() const override {
    g_Events.push_back("create " + DsToUtf8(objectName));
    return std::make_unique<RecordingObject>(std::make_unique<VQTest_Recorder>(*this));
  }
  void Write(DS_IOF_Virtual& out) const override {
    DS_WriteHeader(out, u"VQTest_Recorder", 1);
    WriteObject(out);
  }
  void ReadFields(DS_IOF_Virtual& in, uint32_t) { ReadBase(in); }
};
DS_REGISTER_CONSTRUCTOR(VQTest_Recorder);

std::string g_DocumentDir;

class SlideShowDevice : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_Device = new DS_WindowDevice;
    ASSERT_TRUE(s_Device->Open(kWidth, kHeight, L"slide show test"));
  }
  static void TearDownTestSuite() {
    delete s_Device;
    s_Device = nullptr;
  }
  void SetUp() override {
    s_Device->MakeCurrent();
    g_Events.clear();
  }
  void TearDown() override {
    m_Show.reset();  // and the resource manager it owns
    g_ViewState.ReleaseBorders();
    g_DocResManager = nullptr;
  }

  // Loads and starts a scene as the scene record does.
  void Start(const std::vector<uint8_t>& bytes, int picturePosition = 1) {
    m_Show = LoadSceneFromBytes(bytes.data(), bytes.size());
    ASSERT_EQ(m_Show->ResourceManager(), g_DocResManager);
    m_Show->StartScene(picturePosition);
  }
  static std::vector<uint8_t> ReadDocument(const char* name) {
    std::ifstream file(g_DocumentDir + "/" + name, std::ios::binary);
    EXPECT_TRUE(file) << g_DocumentDir << "/" << name;
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  }
  uint32_t Frame(float time, int x = kWidth / 2, int y = kHeight / 2) {
    m_Show->Update(time);
    EXPECT_EQ(Device()->BeginScene(), D3D_OK);
    m_Show->Render();
    Device()->EndScene();
    DS_PixelReadback pixels;
    EXPECT_TRUE(pixels.ReadBackBuffer(Device()));
    return pixels.At(x, y);
  }
  static uint32_t Scaled(uint32_t rgb, float k) {
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8)
      out |= static_cast<uint32_t>(static_cast<float>((rgb >> shift) & 0xFF) * k + 0.5f) << shift;
    return out;
  }

  IDirect3DDevice9* Device() const { return s_Device->Device(); }
  static DS_WindowDevice* s_Device;
  std::unique_ptr<DS_SlideShow_Light> m_Show;
};
DS_WindowDevice* SlideShowDevice::s_Device = nullptr;

TEST_F(SlideShowDevice, TwoSlidesFadeThroughBlackAndBack) {
  Start(ReadDocument("two-slides.dds"));
  // Fade-in 1, display 2, fade-out 1: slide 0 starts at the end of its fade-in at t = 0.
  EXPECT_TRUE(SameColour(Frame(0.0f), kColour1));
  EXPECT_TRUE(SameColour(Frame(1.5f), kColour1));
  const uint32_t fading = Frame(2.5f);
  EXPECT_TRUE(SameColour(fading, Scaled(kColour1, 0.5f), 16)) << std::hex << fading;
  EXPECT_TRUE(SameColour(Frame(3.0f), 0x000000));
  EXPECT_TRUE(SameColour(Frame(3.25f), 0x000000));  // switched: slide 1 begins black
  EXPECT_TRUE(SameColour(Frame(3.75f), Scaled(kColour2, 0.5f), 16));
  EXPECT_TRUE(SameColour(Frame(5.0f), kColour2));
  EXPECT_TRUE(SameColour(Frame(7.5f), 0x000000));   // slide 0 again, from black
  EXPECT_TRUE(SameColour(Frame(9.0f), kColour1));
}

TEST_F(SlideShowDevice, PicturePositionAppliesToEverySlide) {
  // A wide picture in Fit leaves bars above and below; in Stretch it fills the screen.
  TestSlide wide;
  wide.picture = u"common_res.dll";
  const auto bytes = MakeDocument({wide, wide});
  for (int mode : {0, 1}) {
    SCOPED_TRACE(mode);
    Start(bytes, mode);
    for (const auto& slide : m_Show->Slides()) EXPECT_EQ(slide->GetLayer()->PicturePosition(), mode);
    m_Show.reset();
  }
}

TEST_F(SlideShowDevice, LiveObjectsOfBothListsAreMadeUpdatedAndOnlyTheFirstDrawnLastToFirst) {
  TestSlide slide;
  slide.list1 = {u"a", u"b"};
  slide.list2 = {u"s"};
  slide.objectClass = u"VQTest_Recorder";
  Start(MakeDocument({slide}));
  // Made at scene start, in document order; there is no current slide to reset yet.
  EXPECT_EQ(g_Events, (std::vector<std::string>{"create a", "create b", "create s"}));
  const DS_SlideContainer& loaded = *m_Show->Slides()[0];
  EXPECT_TRUE(loaded.ParameterSets1().empty());
  EXPECT_TRUE(loaded.ParameterSets2().empty());
  EXPECT_EQ(loaded.Objects1().size(), 2u);
  EXPECT_EQ(loaded.Objects2().size(), 1u);

  g_Events.clear();
  Frame(0.0f);
  // Becoming current brings back the device objects of both lists before anything runs.
  EXPECT_EQ(g_Events, (std::vector<std::string>{"reset a", "reset b", "reset s", "on s", "update a", "update b",
                                                "update s", "render b", "render a"}));
  g_Events.clear();
  Frame(0.1f);
  EXPECT_EQ(g_Events, (std::vector<std::string>{"update a", "update b", "update s", "render b", "render a"}));
  g_Events.clear();
  m_Show->OnDeviceLost();
  EXPECT_EQ(g_Events, (std::vector<std::string>{"lost a", "lost b", "lost s"}));
}

TEST_F(SlideShowDevice, DeviceResetRestoresTheCurrentSlide) {
  Start(ReadDocument("two-slides.dds"));
  const uint32_t before = Frame(1.0f);
  ASSERT_TRUE(SameColour(before, kColour1));
  m_Show->OnDeviceLost();
  ASSERT_EQ(Device()->Reset(&s_Device->PresentParameters()), D3D_OK);
  m_Show->OnDeviceReset();
  const uint32_t after = Frame(1.1f);
  EXPECT_TRUE(SameColour(after, before)) << std::hex << after;
  // The other slide was not current at the loss; it is restored as it becomes current. The show
  // started at t = 1 at the end of slide 0's fade-in, so slide 0 ends at t = 4.
  EXPECT_TRUE(SameColour(Frame(4.5f), 0x000000));  // switched: slide 1 begins black
  const uint32_t second = Frame(6.0f);
  EXPECT_TRUE(SameColour(second, kColour2)) << std::hex << second;
  // And a second loss while it is current brings it back too.
  m_Show->OnDeviceLost();
  ASSERT_EQ(Device()->Reset(&s_Device->PresentParameters()), D3D_OK);
  m_Show->OnDeviceReset();
  const uint32_t again = Frame(6.5f);
  EXPECT_TRUE(SameColour(again, kColour2)) << std::hex << again;
}

// Replays recorded events against the device rule: an object is reset at most once after each
// loss (or at its first start), and updates, draws or switches on only with its objects made.
class LifeCycleRule {
 public:
  void Replay(const std::vector<std::string>& events) {
    for (const std::string& event : events) {
      const size_t space = event.find(' ');
      const std::string verb = event.substr(0, space), name = event.substr(space + 1);
      if (verb == "reset") {
        EXPECT_FALSE(m_Made[name]) << name << " is reset twice without a loss between";
        m_Made[name] = true;
      } else if (verb == "lost") {
        m_Made[name] = false;
      } else if (verb == "render" || verb == "update" || verb == "on") {
        EXPECT_TRUE(m_Made[name]) << name << ": " << verb << " without its device objects";
      }
    }
  }

 private:
  std::map<std::string, bool> m_Made;
};

std::vector<std::string> Verbs(const std::vector<std::string>& events, const std::string& verb) {
  std::vector<std::string> names;
  for (const std::string& event : events)
    if (event.compare(0, verb.size() + 1, verb + " ") == 0) names.push_back(event.substr(verb.size() + 1));
  return names;
}

TEST_F(SlideShowDevice, ThreeSlidesKeepTheirDeviceObjectsInStepWithLossesAndSwitches) {
  // Red, green and blue slides, each fading in 1 s, shown 2 s, fading out 1 s, with a recording
  // object in each list. The first frame at t = 0 is the end of red's fade-in, so red runs to
  // t = 3; each later slide starts at the frame that switches to it and runs 4 s.
  Start(ReadDocument("three-slides.dds"));
  const std::vector<std::string> all = {"red", "red-2", "green", "green-2", "blue", "blue-2"};
  const uint32_t colours[] = {0xC03020, 0x30A040, 0x2040C0};
  LifeCycleRule rule;
  // Only the current slide holds render targets.
  const auto onlyCurrentHoldsTargets = [&](size_t current) {
    for (size_t i = 0; i < m_Show->Slides().size(); ++i) {
      const DS_SlideContainer& slide = *m_Show->Slides()[i];
      EXPECT_EQ(static_cast<bool>(slide.GetLayer()->Targets().textures[0]), i == current) << "slide " << i;
      EXPECT_EQ(slide.DeviceObjectsMade(), i == current) << "slide " << i;
    }
  };
  const auto frame = [&](float t) {
    g_Events.clear();
    const uint32_t centre = Frame(t);
    rule.Replay(g_Events);
    return centre;
  };
  // A loss tells every object of every slide; the reset (with the stored present parameters)
  // succeeds, so nothing of the default pool is left, and brings back the current slide only.
  const auto loseAndReset = [&](const std::vector<std::string>& current) {
    g_Events.clear();
    m_Show->OnDeviceLost();
    std::vector<std::string> lost = Verbs(g_Events, "lost");
    std::sort(lost.begin(), lost.end());
    std::vector<std::string> expected = all;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(lost, expected);
    EXPECT_EQ(Device()->Reset(&s_Device->PresentParameters()), D3D_OK);
    m_Show->OnDeviceReset();
    EXPECT_EQ(Verbs(g_Events, "reset"), current);
    rule.Replay(g_Events);
  };

  EXPECT_TRUE(SameColour(frame(0.0f), colours[0]));
  onlyCurrentHoldsTargets(0);
  loseAndReset({"red", "red-2"});
  EXPECT_TRUE(SameColour(frame(1.0f), colours[0]));
  onlyCurrentHoldsTargets(0);

  // The switch: red lets go of its objects, green makes its own before it runs.
  frame(3.5f);
  EXPECT_EQ(Verbs(g_Events, "lost"), (std::vector<std::string>{"red", "red-2"}));
  EXPECT_EQ(Verbs(g_Events, "reset"), (std::vector<std::string>{"green", "green-2"}));
  onlyCurrentHoldsTargets(1);
  EXPECT_TRUE(SameColour(frame(5.0f), colours[1]));
  loseAndReset({"green", "green-2"});
  EXPECT_TRUE(SameColour(frame(5.5f), colours[1]));

  frame(8.0f);  // green started at 3.5
  EXPECT_EQ(Verbs(g_Events, "reset"), (std::vector<std::string>{"blue", "blue-2"}));
  onlyCurrentHoldsTargets(2);
  EXPECT_TRUE(SameColour(frame(9.5f), colours[2]));
  loseAndReset({"blue", "blue-2"});
  EXPECT_TRUE(SameColour(frame(10.0f), colours[2]));

  // Round to red again, which was released when it stopped being current and lost twice since.
  frame(12.5f);
  EXPECT_EQ(Verbs(g_Events, "reset"), (std::vector<std::string>{"red", "red-2"}));
  onlyCurrentHoldsTargets(0);
  EXPECT_TRUE(SameColour(frame(14.0f), colours[0]));
  loseAndReset({"red", "red-2"});
  EXPECT_TRUE(SameColour(frame(14.5f), colours[0]));
}

TEST_F(SlideShowDevice, ARejectedDocumentKeepsTheLoadedManager) {
  Start(ReadDocument("two-slides.dds"));
  DS_DocResManager* const loaded = g_DocResManager;
  TestSlide unknown;
  unknown.layerClass = u"ds_2d_light";
  const auto bytes = MakeDocument({unknown});
  try {
    LoadSceneFromBytes(bytes.data(), bytes.size());
    ADD_FAILURE() << "the document was accepted";
  } catch (uint32_t code) {
    EXPECT_EQ(code, DS_E_DOCUMENT_UNUSABLE);
  }
  EXPECT_EQ(g_DocResManager, loaded);
  EXPECT_EQ(g_ResourceCache, loaded->CacheHolder());
  // And the program without a document 107 reports the same code.
  EXPECT_THROW(LoadSceneDocument(), uint32_t);
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc > 1) g_DocumentDir = argv[1];
  return RUN_ALL_TESTS();
}
