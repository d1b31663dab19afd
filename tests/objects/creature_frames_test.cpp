// The scene viewer's frames of the swimming and flying kinds and of rain (one scene per kind,
// fixtures/creatures.json), at fixed times with a fixed seed: a creature keeps to its rectangle
// (less the sides it may leave wholly before it turns), faces the way it moves, turns round and
// moves between frames; rain falls at its speed.
#include <d3dx9.h>
#include <gtest/gtest.h>
#include <process.h>
#include <windows.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/com/ds_com_holder.h"
#include "tools/device/window_device.h"

namespace {

std::wstring g_Viewer;  // the viewer program
std::wstring g_Scenes;  // the folder of creature-<name>.dds
constexpr int kWidth = 320, kHeight = 240;
constexpr uint32_t kBackground = 0x202020;

int Red(uint32_t c) { return (c >> 16) & 0xFF; }
int Blue(uint32_t c) { return c & 0xFF; }
int Green(uint32_t c) { return (c >> 8) & 0xFF; }

// What one frame shows: the drawn pixels, and the red front and blue back of the sprite.
struct Seen {
  bool loaded = false;
  int drawn = 0, outside = 0, front = 0, back = 0;
  double x = 0, y = 0, frontX = 0, backX = 0;  // mean positions
  bool Visible() const { return front > 6 && back > 6; }
  int Facing() const { return frontX > backX ? 1 : -1; }  // +1 right
};

struct Box {
  int left, top, right, bottom;  // output pixels, right and bottom excluded
  bool Holds(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// The creatures' rectangle is 80..240 x 60..180. A creature turns at a side only once wholly
// beyond it, so its sprite (24 wide) may reach 24 pixels and a frame's move (under 3 pixels)
// further; at the top and bottom it turns as soon as it reaches over, by under one frame's move.
constexpr Box kCreatureBox = {80 - 28, 60 - 3, 240 + 28, 180 + 3};

class CreatureFrames : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_Device = new DS_WindowDevice;
    ASSERT_TRUE(s_Device->Open(64, 64, L"creature frames"));
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    s_Out = std::wstring(temp) + L"vq-creature-frames-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(s_Out.c_str(), nullptr);
  }
  static void TearDownTestSuite() {
    delete s_Device;
    s_Device = nullptr;
  }

  // Runs the viewer over the kind's scene with seed 7 at the times 1..n x every (seconds).
  static std::vector<float> Run(const wchar_t* name, int n, float every) {
    std::vector<float> at;
    std::wstring times;
    for (int k = 1; k <= n; ++k) {
      at.push_back(static_cast<float>(k) * every);
      wchar_t one[24];
      swprintf(one, 24, L"%s%.3f", k > 1 ? L"," : L"", static_cast<double>(at.back()));
      times += one;
    }
    const std::wstring doc = L"\"" + g_Scenes + L"/creature-" + name + L".dds\"";
    const std::wstring out = L"\"" + Dir(name) + L"\"";
    const intptr_t code = _wspawnl(_P_WAIT, g_Viewer.c_str(), L"scene-viewer", L"--doc", doc.c_str(), L"--out",
                                   out.c_str(), L"--size", L"320x240", L"--position", L"0", L"--seed", L"7",
                                   L"--times", times.c_str(), nullptr);
    EXPECT_EQ(code, 0) << "the viewer failed";
    return at;
  }
  static std::wstring Dir(const wchar_t* name) { return s_Out + L"\\" + name; }

  // The pixels (0x00RRGGBB, row by row) of the frame the viewer wrote for time t; empty when
  // there is none.
  static std::vector<uint32_t> Pixels(const wchar_t* name, float t) {
    wchar_t file[32];
    swprintf(file, 32, L"\\frame-%06d.png", static_cast<int>(t * 1000.0f + 0.5f));
    std::vector<uint32_t> pixels;
    DS_ComHolder<IDirect3DSurface9> surface;
    if (FAILED(s_Device->Device()->CreateOffscreenPlainSurface(kWidth, kHeight, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM,
                                                               surface.Receive(), nullptr)) ||
        FAILED(D3DXLoadSurfaceFromFileW(surface.Get(), nullptr, nullptr, (Dir(name) + file).c_str(), nullptr,
                                        D3DX_FILTER_NONE, 0, nullptr)))
      return pixels;
    D3DLOCKED_RECT locked;
    if (FAILED(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY))) return pixels;
    pixels.resize(static_cast<size_t>(kWidth) * kHeight);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        pixels[static_cast<size_t>(y) * kWidth + x] =
            reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(locked.pBits) + y * locked.Pitch)[x] &
            0xFFFFFFu;
    surface->UnlockRect();
    return pixels;
  }

  static Seen Look(const wchar_t* name, float t, const Box& allowed) {
    Seen s;
    const std::vector<uint32_t> pixels = Pixels(name, t);
    s.loaded = !pixels.empty();
    for (int y = 0; s.loaded && y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const uint32_t p = pixels[static_cast<size_t>(y) * kWidth + x];
        if (SameColour(p, kBackground, 10)) continue;
        ++s.drawn;
        s.x += x;
        s.y += y;
        if (!allowed.Holds(x, y)) ++s.outside;
        if (Red(p) > Blue(p) + 40 && Red(p) > Green(p) + 40) {
          ++s.front;
          s.frontX += x;
        } else if (Blue(p) > Red(p) + 40 && Blue(p) > Green(p) + 40) {
          ++s.back;
          s.backX += x;
        }
      }
    }
    if (s.drawn) s.x /= s.drawn, s.y /= s.drawn;
    if (s.front) s.frontX /= s.front;
    if (s.back) s.backX /= s.back;
    return s;
  }

  static DS_WindowDevice* s_Device;
  static std::wstring s_Out;
};
DS_WindowDevice* CreatureFrames::s_Device = nullptr;
std::wstring CreatureFrames::s_Out;

// Ten seconds of frames 0.1 s apart (at most 8 pixels of movement): every frame keeps to the
// box; between two frames in which the creature shows and faces the same way, it moved the way
// it faces; it faced both ways and turned round in the run.
void CheckCreature(const wchar_t* name, const std::vector<Seen>& seen) {
  int compared = 0, moved = 0, right = 0, left = 0, visible = 0;
  for (size_t i = 0; i < seen.size(); ++i) {
    const Seen& s = seen[i];
    ASSERT_TRUE(s.loaded) << "no frame " << i;
    EXPECT_EQ(s.outside, 0) << "frame " << i << ": pixels beyond the rectangle's reach";
    if (!s.Visible()) continue;
    ++visible;
    (s.Facing() > 0 ? right : left) += 1;
    if (i == 0 || !seen[i - 1].Visible()) continue;
    const Seen& before = seen[i - 1];
    const double dx = s.x - before.x, dy = s.y - before.y;
    if (std::fabs(dx) + std::fabs(dy) > 0.5) ++moved;
    // A ghost that faded away appears elsewhere; a turn at a side swaps the halves in place.
    if (std::fabs(dx) > 12.0 || s.Facing() != before.Facing() || std::fabs(dx) < 0.75) continue;
    ++compared;
    EXPECT_EQ(dx > 0 ? 1 : -1, s.Facing()) << "frame " << i << ": moved by " << dx << " facing the other way";
  }
  EXPECT_GT(visible, 40) << name;
  EXPECT_GT(moved, visible / 2) << name << ": the creature does not move between frames";
  EXPECT_GT(compared, 20) << name;
  EXPECT_GT(right, 0) << name << ": never faced right";
  EXPECT_GT(left, 0) << name << ": never faced left (not mirrored)";
}

TEST_F(CreatureFrames, CreaturesStayInTheirRectanglesFaceTheWayTheyMoveAndMove) {
  for (const wchar_t* name : {L"fish", L"ghost", L"bird"}) {
    std::vector<Seen> seen;
    for (float t : Run(name, 100, 0.1f)) seen.push_back(Look(name, t, kCreatureBox));
    CheckCreature(name, seen);
  }
}

// Drops of 20 pixels falling at 100 pixels per unit of phase move 10 pixels down in 0.1 s: the
// second frame matches the first moved down by about that much, and by nothing sideways.
TEST_F(CreatureFrames, RainFallsAtItsSpeed) {
  const std::vector<float> at = Run(L"rain", 11, 0.1f);
  const std::vector<uint32_t> a = Pixels(L"rain", at[9]), b = Pixels(L"rain", at[10]);
  ASSERT_FALSE(a.empty());
  ASSERT_FALSE(b.empty());
  auto drawn = [](const std::vector<uint32_t>& f, int x, int y) {
    return x >= 0 && x < kWidth && y >= 0 && y < kHeight &&
           !SameColour(f[static_cast<size_t>(y) * kWidth + x], kBackground, 10);
  };
  int total = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) total += drawn(b, x, y) ? 1 : 0;
  ASSERT_GT(total, 100) << "no rain";
  // The shift (dx, dy) under which the most drawn pixels of the second frame were drawn in the first.
  int bestX = 0, bestY = 0, best = -1;
  for (int dy = -16; dy <= 24; ++dy) {
    for (int dx = -4; dx <= 4; ++dx) {
      int match = 0;
      for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) match += drawn(b, x, y) && drawn(a, x - dx, y - dy) ? 1 : 0;
      if (match > best) best = match, bestX = dx, bestY = dy;
    }
  }
  EXPECT_EQ(bestX, 0);
  EXPECT_GE(bestY, 9);
  EXPECT_LE(bestY, 11);
  EXPECT_GT(best, total * 3 / 4);
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 3) {
    fprintf(stderr, "usage: vq_creature_viewer_tests <scene-viewer> <scene folder>\n");
    return 2;
  }
  for (const char* p = argv[1]; *p; ++p) g_Viewer += static_cast<wchar_t>(*p);
  for (const char* p = argv[2]; *p; ++p) g_Scenes += static_cast<wchar_t>(*p);
  return RUN_ALL_TESTS();
}
