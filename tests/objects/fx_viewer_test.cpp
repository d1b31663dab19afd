// The explosion and the static text through the scene viewer, at fixed times with fixed seeds:
// the explosion is absent during its start delay and its pause, present while it holds and
// fading after; replaying its seed it draws the same frames whatever the viewer's seed, and with
// fresh noise it does not. The text's pixels appear inside its box, and only there, while it
// shows, and fade out at its times. A device reset while the texts are alive - on the current
// slide and on a slide that becomes current later - succeeds, and the frames after it are the
// frames of a run without it.
#include <d3dx9.h>
#include <gtest/gtest.h>
#include <process.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tools/device/window_device.h"
#include "tests/support/viewer_frames.h"

namespace {

std::wstring g_Viewer;  // the viewer program
std::wstring g_Scenes;  // the folder of the scene documents
constexpr int kWidth = 320, kHeight = 240;
constexpr uint32_t kBackground = 0x202020;

// A rectangle of output pixels, right and bottom excluded.
struct Box {
  int left, top, right, bottom;
  bool Holds(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// One frame's pixels (0x00RRGGBB) and what differs there from the grey picture.
struct Frame {
  std::vector<uint32_t> pixels;
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * kWidth + x]; }
  // The summed channel distance from the background over the pixels that differ from it, and
  // how many do (inside and outside a box).
  struct Coverage {
    long long weight = 0;
    int inside = 0, outside = 0;
  };
  Coverage Drawn(const Box& box) const {
    Coverage c;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        const uint32_t p = At(x, y);
        if (SameColour(p, kBackground, 6)) continue;
        for (int shift = 0; shift < 24; shift += 8)
          c.weight += std::abs(static_cast<int>((p >> shift) & 0xFF) - static_cast<int>((kBackground >> shift) & 0xFF));
        (box.Holds(x, y) ? c.inside : c.outside) += 1;
      }
    return c;
  }
};

class FXViewer : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_Device = new DS_WindowDevice;
    ASSERT_TRUE(s_Device->Open(64, 64, L"effect object frames"));
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    s_Dir = std::wstring(temp) + L"vq-fx-frames-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(s_Dir.c_str(), nullptr);
  }
  static void TearDownTestSuite() {
    delete s_Device;
    s_Device = nullptr;
  }

  // The frames of `scene` at `times` (seconds), viewed with `seed` (and a device reset before
  // `resetBefore` when that is not negative), in the run's own folder `run`.
  static std::vector<Frame> View(const wchar_t* scene, const std::vector<float>& times, int seed, const wchar_t* run,
                                 float resetBefore = -1.0f) {
    std::wstring list;
    for (float t : times) list += (list.empty() ? L"" : L",") + std::to_wstring(t);
    const std::wstring dir = s_Dir + L"\\" + run;
    std::wstring args = L"--doc \"" + g_Scenes + L"\\" + scene + L".dds\" --out \"" + dir +
                        L"\" --size 320x240 --position 0 --seed " + std::to_wstring(seed) + L" --times " + list;
    if (resetBefore >= 0.0f) args += L" --reset-before " + std::to_wstring(resetBefore);
    // The viewer fails (exit code not 0) when the reset does not return D3D_OK.
    EXPECT_EQ(_wspawnl(_P_WAIT, g_Viewer.c_str(), L"scene-viewer", args.c_str(), nullptr), 0) << run;
    std::vector<Frame> frames;
    for (float t : times) frames.push_back(Read(dir, t));
    return frames;
  }

  static Frame Read(const std::wstring& dir, float t) {
    Frame frame;
    frame.pixels = ReadFramePixels(s_Device->Device(), ViewerFramePath(dir, t), kWidth, kHeight);
    if (frame.pixels.empty()) {
      ADD_FAILURE() << "no frame at " << t;
      frame.pixels.assign(static_cast<size_t>(kWidth) * kHeight, kBackground);
    }
    for (uint32_t& p : frame.pixels) p &= 0xFFFFFFu;
    return frame;
  }

  static int Differing(const Frame& a, const Frame& b) {
    int n = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) n += SameColour(a.pixels[i], b.pixels[i], 2) ? 0 : 1;
    return n;
  }

  static DS_WindowDevice* s_Device;
  static std::wstring s_Dir;
};
DS_WindowDevice* FXViewer::s_Device = nullptr;
std::wstring FXViewer::s_Dir;

// The explosion (100 pixels across at the centre of the 320 x 240 picture, shown 1:1): start
// delay 1 s, grow 0.5 s, hold 1 s, fade 1 s, pause 1 s.
const Box kBlast = {105, 65, 215, 175};

TEST_F(FXViewer, TheExplosionWaitsFlaresHoldsFadesAndRests) {
  const std::vector<float> times = {0.5f, 2.0f, 3.0f, 4.25f, 6.5f};
  const std::vector<Frame> f = View(L"explosion", times, 7, L"explosion");
  const Frame::Coverage delay = f[0].Drawn(kBlast), hold = f[1].Drawn(kBlast), fade = f[2].Drawn(kBlast),
                        pause = f[3].Drawn(kBlast), again = f[4].Drawn(kBlast);
  EXPECT_EQ(delay.inside + delay.outside, 0) << "drawn during the start delay";
  EXPECT_GT(hold.inside, 1500) << "not there while it holds";
  EXPECT_EQ(hold.outside, 0) << "drawn beyond its size";
  EXPECT_GT(fade.inside, 0) << "gone at once instead of fading";
  EXPECT_LT(fade.weight * 10, hold.weight * 7) << "not fading";
  EXPECT_EQ(pause.inside + pause.outside, 0) << "drawn during the pause";
  EXPECT_GT(again.inside, 1500) << "the next cycle does not hold";  // 6.5 s: 2 s into the second cycle
}

TEST_F(FXViewer, AReplayedSeedDrawsTheSameFramesWhateverTheViewersSeed) {
  const std::vector<float> times = {2.0f, 2.6f, 3.2f};
  const std::vector<Frame> a = View(L"explosion", times, 7, L"seeded-7"), b = View(L"explosion", times, 8, L"seeded-8");
  for (size_t i = 0; i < times.size(); ++i) {
    EXPECT_GT(a[i].Drawn(kBlast).inside, 0) << times[i];
    EXPECT_EQ(Differing(a[i], b[i]), 0) << times[i];
  }
  // Fresh noise follows the viewer's seed: the same explosion differs between the two runs.
  const std::vector<Frame> c = View(L"explosion-random", times, 7, L"random-7"),
                           d = View(L"explosion-random", times, 8, L"random-8");
  EXPECT_GT(Differing(c[0], d[0]) + Differing(c[1], d[1]) + Differing(c[2], d[2]), 100);
}

// The text box, 200 x 60 at the centre; delay 0.5 s, fade-in 0.5 s, hold 1 s, fade-out 0.5 s.
const Box kText = {60, 90, 260, 150};

TEST_F(FXViewer, TheTextShowsInsideItsBoxAndFadesAtItsTimes) {
  const std::vector<float> times = {0.25f, 1.5f, 2.25f, 2.75f};
  const std::vector<Frame> f = View(L"text", times, 7, L"text");
  const Frame::Coverage delay = f[0].Drawn(kText), hold = f[1].Drawn(kText), fading = f[2].Drawn(kText),
                        restarted = f[3].Drawn(kText);
  EXPECT_EQ(delay.inside + delay.outside, 0) << "shown during the delay";
  EXPECT_GT(hold.inside, 200) << "no text while it holds";
  EXPECT_EQ(hold.outside, 0) << "text outside its box";
  int white = 0;
  for (int y = kText.top; y < kText.bottom; ++y)
    for (int x = kText.left; x < kText.right; ++x) white += SameColour(f[1].At(x, y), 0xFFFFFF, 16) ? 1 : 0;
  EXPECT_GT(white, 100) << "the held text is not white";
  EXPECT_GT(fading.inside, 0) << "gone before its fade-out ends";
  EXPECT_LT(fading.weight * 10, hold.weight * 7) << "not fading out";
  EXPECT_EQ(restarted.inside + restarted.outside, 0) << "the new cycle does not start with the delay";
}

TEST_F(FXViewer, ADeviceResetKeepsTheTextsOnTheCurrentSlideAndOnTheNextOne) {
  // Slide 1 (0 to 3 s) shows a text; slide 2 (3 to 6 s) a text and an explosion. The reset comes
  // while slide 1 is current, its text alive and slide 2's made but not current.
  const std::vector<float> times = {1.5f, 4.5f, 5.25f};
  const std::vector<Frame> plain = View(L"two-slides", times, 7, L"no-reset");
  const std::vector<Frame> reset = View(L"two-slides", times, 7, L"reset", 1.0f);
  EXPECT_GT(plain[0].Drawn(kText).inside, 200) << "slide 1 shows no text";
  EXPECT_GT(plain[1].Drawn(Box{60, 30, 260, 90}).inside, 200) << "slide 2 shows no text";
  for (size_t i = 0; i < times.size(); ++i) EXPECT_EQ(Differing(plain[i], reset[i]), 0) << times[i];
  // A reset while slide 2 is current.
  const std::vector<Frame> late = View(L"two-slides", times, 7, L"reset-late", 4.0f);
  for (size_t i = 0; i < times.size(); ++i) EXPECT_EQ(Differing(plain[i], late[i]), 0) << times[i];
}

TEST_F(FXViewer, ATextWhoseTargetCouldNotBeMadeDrawsNothing) {
  // A caption ("I", 200 x 60 at (160, 50)), then a banner whose box (65536 x 60 at (160, 170))
  // is wider than any texture the device makes: the banner has no target and draws nothing, not
  // the caption's target or anything else the shared effect still holds.
  const std::vector<Frame> f = View(L"text-without-target", {0.5f, 1.0f}, 7, L"text-without-target");
  const Box caption = {60, 20, 260, 80};
  const Box banner = {0, 140, kWidth, 200};
  for (const Frame& frame : f) {
    EXPECT_GT(frame.Drawn(caption).inside, 100) << "the caption does not show";
    EXPECT_EQ(frame.Drawn(caption).outside, 0) << "drawn outside the caption";
    EXPECT_EQ(frame.Drawn(banner).inside, 0) << "the banner drew without a target";
  }
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 3) {
    fprintf(stderr, "usage: vq_fx_viewer_tests <scene-viewer> <scene folder>\n");
    return 2;
  }
  g_Viewer = WindowsPath(argv[1]);
  g_Scenes = WindowsPath(argv[2]);
  return RUN_ALL_TESTS();
}
