// The 3D objects in the scene viewer's frames, with a fixed seed and a fixed local time: the
// clock's face is centred in its square and its hands point at the time given; butterflies show
// body and wings and move between frames; leaves show and move down between frames.
#include <d3dx9.h>
#include <gtest/gtest.h>
#include <process.h>
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/com/ds_com_holder.h"
#include "tests/objects/object_device.h"
#include "tools/device/window_device.h"
#include "tests/support/viewer_frames.h"

namespace {

std::wstring g_Viewer;     // the viewer program
std::wstring g_Documents;  // the documents written from fixtures/
constexpr int kWidth = 320, kHeight = 240;
constexpr std::uint32_t kBackground = 0x406080;

// The pixels of one PNG frame, 0xRRGGBB, row by row.
class FramePixels {
 public:
  explicit FramePixels(IDirect3DDevice9* device, const std::wstring& path) {
    DS_ComHolder<IDirect3DTexture9> texture;
    if (FAILED(D3DXCreateTextureFromFileExW(device, path.c_str(), kWidth, kHeight, 1, 0, D3DFMT_A8R8G8B8,
                                            D3DPOOL_SYSTEMMEM, D3DX_FILTER_NONE, D3DX_FILTER_NONE, 0, nullptr,
                                            nullptr, texture.Receive())))
      return;
    D3DLOCKED_RECT rect;
    if (FAILED(texture->LockRect(0, &rect, nullptr, D3DLOCK_READONLY))) return;
    m_Pixels.resize(static_cast<size_t>(kWidth * kHeight));
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        m_Pixels[static_cast<size_t>(y * kWidth + x)] =
            reinterpret_cast<const std::uint32_t*>(static_cast<const BYTE*>(rect.pBits) + y * rect.Pitch)[x] &
            0xFFFFFFu;
    texture->UnlockRect(0);
  }
  bool Loaded() const { return !m_Pixels.empty(); }
  std::uint32_t At(int x, int y) const { return m_Pixels[static_cast<size_t>(y * kWidth + x)]; }
  // The darkest pixel (by its brightest channel) within `r` pixels of (x, y).
  int DarkestNear(int x, int y, int r) const {
    int darkest = 255;
    for (int j = y - r; j <= y + r; ++j)
      for (int i = x - r; i <= x + r; ++i) darkest = std::min(darkest, Brightest(At(i, j)));
    return darkest;
  }
  template <class Test>
  int Count(Test test) const {
    int n = 0;
    for (std::uint32_t p : m_Pixels) n += test(p) ? 1 : 0;
    return n;
  }
  static int Channel(std::uint32_t p, int shift) { return static_cast<int>((p >> shift) & 0xFF); }
  static int Brightest(std::uint32_t p) { return std::max({Channel(p, 16), Channel(p, 8), Channel(p, 0)}); }

 private:
  std::vector<std::uint32_t> m_Pixels;
};

bool IsBackground(std::uint32_t p) { return SameColour(p, kBackground, 6); }
// Dial paper: light and warm.
bool IsFace(std::uint32_t p) { return FramePixels::Channel(p, 16) > 200 && FramePixels::Channel(p, 8) > 190; }
// Wing and leaf colours: strong red, little blue.
bool IsOrange(std::uint32_t p) { return FramePixels::Channel(p, 16) > 150 && FramePixels::Channel(p, 0) < 90; }

// The device only loads the frames.
class ObjectFrames : public ObjectDevice {
 protected:
  static void SetUpTestSuite() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    s_Out = std::wstring(temp) + L"vq-objects3d-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(s_Out.c_str(), nullptr);
  }

  // Runs the viewer on a fixture's document with seed 1; the folder of its frames.
  static std::wstring View(const wchar_t* document, const wchar_t* times, const wchar_t* clock) {
    const std::wstring out = s_Out + L"\\" + document + L"-" + clock[0] + clock[1];
    const std::wstring doc = L"\"" + g_Documents + L"\\" + document + L".dds\"";
    const std::wstring outArg = L"\"" + out + L"\"";
    const intptr_t code = _wspawnl(_P_WAIT, g_Viewer.c_str(), L"scene-viewer", L"--doc", doc.c_str(), L"--out",
                                   outArg.c_str(), L"--size", L"320x240", L"--seed", L"1", L"--times", times,
                                   L"--clock", clock, nullptr);
    EXPECT_EQ(code, 0) << "the viewer failed";
    return out;
  }
  FramePixels Frame(const std::wstring& folder, const wchar_t* name) {
    FramePixels pixels(Device(), folder + L"\\" + name);
    EXPECT_TRUE(pixels.Loaded()) << "no frame";
    return pixels;
  }

  static std::wstring s_Out;
};
std::wstring ObjectFrames::s_Out;

// A clock of size 200 centred at (160, 120) on a 320 x 240 picture shown 1:1.
TEST_F(ObjectFrames, TheClockFaceIsCentredAndItsHandsShowTheTimeGiven) {
  constexpr int cx = 160, cy = 120;
  struct Case {
    const wchar_t* clock;
    float hourDegrees, minuteDegrees;
  };
  // Clockwise from 12; the hour hand reaches 50 pixels from the centre, the minute hand 64.
  const Case cases[] = {{L"03:30:00", 105.0f, 180.0f}, {L"09:00:00", 270.0f, 0.0f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.clock, c.clock + 8));
    const FramePixels pixels = Frame(View(L"clock", L"1", c.clock), L"frame-001000.png");
    if (!pixels.Loaded()) continue;
    // The face fills the circle of radius 100 and nothing outside it; the square's corners show
    // the picture.
    for (int dx : {-60, 60})
      for (int dy : {-60, 60}) EXPECT_TRUE(IsFace(pixels.At(cx + dx, cy + dy))) << dx << ", " << dy;
    for (int dx : {-97, 97})
      for (int dy : {-97, 97}) EXPECT_TRUE(IsBackground(pixels.At(cx + dx, cy + dy))) << dx << ", " << dy;
    for (int d : {-106, 106}) {
      EXPECT_TRUE(IsBackground(pixels.At(cx + d, cy)));
      EXPECT_TRUE(IsBackground(pixels.At(cx, cy + d)));
    }
    auto along = [&](float degrees, float r, int& x, int& y) {
      const float a = degrees * 3.1415927f / 180.0f;
      x = cx + static_cast<int>(std::lround(r * std::sin(a)));
      y = cy - static_cast<int>(std::lround(r * std::cos(a)));
    };
    int x = 0, y = 0;
    along(c.hourDegrees, 35.0f, x, y);
    EXPECT_LT(pixels.DarkestNear(x, y, 1), 90) << "no hour hand at " << x << ", " << y;
    along(c.minuteDegrees, 56.0f, x, y);
    EXPECT_LT(pixels.DarkestNear(x, y, 1), 90) << "no minute hand at " << x << ", " << y;
    // Where neither hand points, the dial shows.
    along(c.hourDegrees + 180.0f, 45.0f, x, y);
    EXPECT_TRUE(IsFace(pixels.At(x, y))) << x << ", " << y;
  }
}

TEST_F(ObjectFrames, ButterfliesShowBodyAndWingsAndMoveBetweenFrames) {
  const std::wstring out = View(L"butterflies", L"1,1.5", L"10:00:00");
  const FramePixels first = Frame(out, L"frame-001000.png"), second = Frame(out, L"frame-001500.png");
  if (!first.Loaded() || !second.Loaded()) return;
  for (const FramePixels* frame : {&first, &second}) {
    EXPECT_GT(frame->Count(IsOrange), 200) << "no wings";
    // The body and the wings' dark edges.
    EXPECT_GT(frame->Count([](std::uint32_t p) { return FramePixels::Brightest(p) < 60; }), 20) << "no body";
  }
  int moved = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) moved += SameColour(first.At(x, y), second.At(x, y), 6) ? 0 : 1;
  EXPECT_GT(moved, 400);
}

TEST_F(ObjectFrames, LeavesShowAndFallBetweenFrames) {
  const std::wstring out = View(L"leaves", L"1,1.05", L"10:00:00");
  const FramePixels first = Frame(out, L"frame-001000.png"), second = Frame(out, L"frame-001050.png");
  if (!first.Loaded() || !second.Loaded()) return;
  EXPECT_GT(first.Count(IsOrange), 30);
  EXPECT_GT(second.Count(IsOrange), 30);
  // The shift that lays the first frame's leaves best onto the second's: the leaves fall 9 to 16
  // pixels in 0.05 s and drift sideways by less.
  int bestDx = 0, bestDy = 0, bestOverlap = -1;
  for (int dy = -30; dy <= 30; ++dy)
    for (int dx = -15; dx <= 15; ++dx) {
      int overlap = 0;
      for (int y = std::max(0, -dy); y < std::min(kHeight, kHeight - dy); ++y)
        for (int x = std::max(0, -dx); x < std::min(kWidth, kWidth - dx); ++x)
          overlap += IsOrange(first.At(x, y)) && IsOrange(second.At(x + dx, y + dy)) ? 1 : 0;
      if (overlap > bestOverlap) {
        bestOverlap = overlap;
        bestDx = dx;
        bestDy = dy;
      }
    }
  EXPECT_GE(bestDy, 5) << "moved by " << bestDx << ", " << bestDy;
  EXPECT_LE(bestDy, 20);
  int changed = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) changed += SameColour(first.At(x, y), second.At(x, y), 6) ? 0 : 1;
  EXPECT_GT(changed, 60);
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: vq_objects3d_viewer_tests <scene-viewer.exe> <documents folder>\n");
    return 2;
  }
  g_Viewer = WindowsPath(argv[1]);
  g_Documents = WindowsPath(argv[2]);
  return RUN_ALL_TESTS();
}
