// The scene viewer's frames of each particle kind (one scene per kind, fixtures/kinds.json): at
// fixed times with a fixed seed, every kind draws only inside its view rectangle (or around its
// placement), in its colour and blend mode; the kinds that move differ between two frames and the
// still picture does not.
#include <d3dx9.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tools/device/window_device.h"
#include "tests/support/viewer_frames.h"

namespace {

std::wstring g_Viewer;  // the viewer program
std::wstring g_Scenes;  // the folder of kind-<name>.dds
constexpr int kWidth = 320, kHeight = 240;
constexpr uint32_t kBackground = 0x202020;

struct Frame {
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, row by row
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * kWidth + x] & 0xFFFFFF; }
  bool Drawn(int x, int y) const { return !SameColour(At(x, y), kBackground, 24); }
};

int Red(uint32_t c) { return (c >> 16) & 0xFF; }
int Green(uint32_t c) { return (c >> 8) & 0xFF; }
int Blue(uint32_t c) { return c & 0xFF; }

struct Box {
  int left, top, right, bottom;  // output pixels, right and bottom excluded
  bool Holds(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

struct KindCase {
  const char* name;
  Box allowed;    // where the kind may draw (its view or placement, widened by its sprites' reach)
  bool additive;  // blend mode 1: never darker than the picture
  bool moves;     // the frames at the two times differ
  float first, second;
};

void PrintTo(const KindCase& c, std::ostream* out) { *out << c.name; }

const KindCase kCases[] = {
    // Upright rays of width 16 drifting at up to 10 pixels a unit in the right half.
    {"god_ray", {130, 0, kWidth, kHeight}, false, true, 1.0f, 2.0f},
    // Sparkles of up to 12 pixels drifting at up to 25 a unit from the top-left quarter.
    {"sparkle", {0, 0, 220, 180}, false, true, 1.0f, 1.5f},
    // Fog patches of 40 bouncing (by their centres) in the lower half.
    {"fog", {0, 90, kWidth, kHeight}, false, true, 1.0f, 2.0f},
    // Flashes of 40 placed wholly inside the top-right quarter (the flashes are timed: see below).
    {"lighting", {160, 0, kWidth, 120}, true, true, 0.0f, 0.0f},
    // Blades of 30 standing on the bottom, rooted in the left half, leaning by up to 10 degrees.
    {"grass", {0, 195, 175, kHeight}, false, true, 1.0f, 1.6f},
    // A still picture of 40 centred at (240, 60).
    {"stat_obj", {218, 38, 262, 82}, false, false, 1.0f, 3.0f},
    // A flower 30 x 60 with its foot at (80, 200), swaying by up to 20 degrees.
    {"flower", {40, 165, 120, 235}, false, true, 1.0f, 1.7f},
    // A discharge sheet of four 32 x 64 frames at 80 high, centred at (160, 120).
    {"discharge", {135, 75, 185, 165}, false, true, 1.0f, 1.55f},
};

class ParticleFrames : public ::testing::TestWithParam<KindCase> {
 protected:
  static void SetUpTestSuite() {
    s_Device = new DS_WindowDevice;
    ASSERT_TRUE(s_Device->Open(64, 64, L"particle frames"));
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    s_Out = std::wstring(temp) + L"vq-particle-frames-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(s_Out.c_str(), nullptr);
  }
  static void TearDownTestSuite() {
    delete s_Device;
    s_Device = nullptr;
  }

  // Runs the viewer over the kind's scene at the given times (seconds); its exit code.
  static DWORD Run(const std::string& name, const std::wstring& times) {
    const std::wstring scene = g_Scenes + L"\\kind-" + std::wstring(name.begin(), name.end()) + L".dds";
    std::wstring line = L"\"" + g_Viewer + L"\" --doc \"" + scene + L"\" --out \"" + Dir(name) +
                        L"\" --size 320x240 --position 0 --seed 7 --times " + times;
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(g_Viewer.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
      return 0xFFFFFFFF;
    WaitForSingleObject(pi.hProcess, 120000);
    DWORD code = 0xFFFFFFFF;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
  }
  static std::wstring Dir(const std::string& name) { return s_Out + L"\\" + std::wstring(name.begin(), name.end()); }

  // The frame the viewer wrote for time t (milliseconds in its name).
  static Frame Read(const std::string& name, float t) {
    Frame frame;
    frame.pixels = ReadFramePixels(s_Device->Device(), ViewerFramePath(Dir(name), t), kWidth, kHeight);
    return frame;
  }

  // The kind's drawing: nothing outside its box; its colour where it draws; how it blends.
  static void CheckFrame(const KindCase& c, const Frame& frame, int& drawn) {
    drawn = 0;
    int outside = 0, offColour = 0, opaqueRed = 0;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        if (!frame.Drawn(x, y)) continue;
        ++drawn;
        const uint32_t p = frame.At(x, y);
        if (!c.allowed.Holds(x, y)) ++outside;
        // A red sprite over grey raises red and never raises green or blue.
        if (Green(p) > 0x26 || Blue(p) > 0x26 || Red(p) < Green(p)) ++offColour;
        if (Red(p) > 0xC0 && Green(p) < 0x10) ++opaqueRed;
        // Additive drawing never darkens the picture.
        if (c.additive) {
          EXPECT_GE(Green(p), 0x1C) << x << ", " << y;
        }
      }
    }
    EXPECT_EQ(outside, 0) << "pixels drawn outside the view";
    EXPECT_EQ(offColour, 0) << "pixels not in the kind's red";
    if (!c.additive && drawn > 0) {
      EXPECT_GT(opaqueRed, 0) << "alpha blending covers the picture where opaque";
    }
  }

  static DS_WindowDevice* s_Device;
  static std::wstring s_Out;
};
DS_WindowDevice* ParticleFrames::s_Device = nullptr;
std::wstring ParticleFrames::s_Out;

TEST_P(ParticleFrames, DrawInsideTheViewInTheirColourAndMoveAsTheyShould) {
  const KindCase& c = GetParam();
  if (c.first == c.second) GTEST_SKIP() << "timed kind: its own test";
  wchar_t times[64];
  swprintf(times, 64, L"%.3f,%.3f", static_cast<double>(c.first), static_cast<double>(c.second));
  ASSERT_EQ(Run(c.name, times), 0u);
  const Frame a = Read(c.name, c.first), b = Read(c.name, c.second);
  ASSERT_EQ(a.pixels.size(), static_cast<size_t>(kWidth) * kHeight) << "no first frame";
  ASSERT_EQ(b.pixels.size(), a.pixels.size()) << "no second frame";
  int drawnA = 0, drawnB = 0;
  CheckFrame(c, a, drawnA);
  CheckFrame(c, b, drawnB);
  EXPECT_GT(drawnA, 20) << "the kind draws nothing";
  EXPECT_GT(drawnB, 20);
  int differing = 0;
  for (size_t i = 0; i < a.pixels.size(); ++i) differing += SameColour(a.pixels[i], b.pixels[i], 4) ? 0 : 1;
  if (c.moves) {
    EXPECT_GT(differing, 10) << "the frames do not move";
  } else {
    EXPECT_EQ(differing, 0) << "a still picture moved";
  }
}

INSTANTIATE_TEST_SUITE_P(Kinds, ParticleFrames, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<KindCase>& info) { return std::string(info.param.name); });

// A flash strikes, fades and rests: over a run of frames some show it and some show nothing,
// and every lit frame keeps to the view's top-right quarter, additive in red.
TEST_F(ParticleFrames, LightningFlashesComeAndGo) {
  const KindCase& c = kCases[3];
  std::wstring times;
  std::vector<float> at;
  for (int k = 1; k <= 40; ++k) {
    at.push_back(static_cast<float>(k) * 0.2f);
    wchar_t one[16];
    swprintf(one, 16, L"%s%.1f", k > 1 ? L"," : L"", static_cast<double>(at.back()));
    times += one;
  }
  ASSERT_EQ(Run(c.name, times), 0u);
  int lit = 0, dark = 0;
  for (float t : at) {
    const Frame frame = Read(c.name, t);
    ASSERT_FALSE(frame.pixels.empty()) << t;
    int drawn = 0;
    CheckFrame(c, frame, drawn);
    (drawn > 20 ? lit : dark) += 1;
  }
  EXPECT_GT(lit, 0) << "no flash in eight seconds";
  EXPECT_GT(dark, 0) << "the flash never rests";
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 3) {
    fprintf(stderr, "usage: vq_particle_viewer_tests <scene-viewer> <scene folder>\n");
    return 2;
  }
  g_Viewer = WindowsPath(argv[1]);
  g_Scenes = WindowsPath(argv[2]);
  return RUN_ALL_TESTS();
}
