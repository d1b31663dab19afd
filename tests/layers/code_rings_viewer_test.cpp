// Both layers through the scene viewer, at fixed times with a fixed seed: the same seed draws the
// same frames; the falling code's glyphs fall one cell per frame and, in picture mode 1, show only
// over the bright half of the picture, and a seeded run shows the grid the layer made from that
// seed; the water's rings spread from a drop that falls at random and move the picture under
// them from frame to frame.
#include <d3dx9.h>
#include <gtest/gtest.h>
#include <process.h>
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "layers/matrix_code/matrix_grid.h"
#include "tests/support/test_bytes.h"
#include "tests/layers/glyph_pixels.h"
#include "tests/layers/ring_change.h"
#include "tools/device/window_device.h"

namespace {

std::wstring g_Viewer;  // the viewer program, as a Windows path (Z: and the host's path)
constexpr int kWidth = 320, kHeight = 240;
constexpr int kCell = 32;  // 16 picture pixels of the 160 x 120 picture on the 320 x 240 screen

// One written frame's pixels (0x00RRGGBB), row by row.
using Pixels = std::vector<std::uint32_t>;

class CodeRingsViewer : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_Device = new DS_WindowDevice;
    ASSERT_TRUE(s_Device->Open(64, 64, L"viewer frames"));
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    s_Dir = std::wstring(temp) + L"vq-code-rings-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(s_Dir.c_str(), nullptr);
  }
  static void TearDownTestSuite() {
    delete s_Device;
    s_Device = nullptr;
  }

  template <class Fill>
  static std::vector<uint8_t> Png(int w, int h, Fill fill) {
    DS_ComHolder<IDirect3DTexture9> texture = MakeTexture(s_Device->Device(), w, h, fill);
    DS_ComHolder<ID3DXBuffer> file;
    EXPECT_EQ(D3DXSaveTextureToFileInMemory(file.Receive(), D3DXIFF_PNG, texture.Get(), nullptr), D3D_OK);
    const auto* p = static_cast<const uint8_t*>(file->GetBufferPointer());
    return std::vector<uint8_t>(p, p + file->GetBufferSize());
  }

  // The nested base layer on the embedded picture, a still camera, and the resource manager.
  static void BaseAndResources(TestBytes& doc, const std::vector<uint8_t>& picture) {
    doc.Str(u"DS_2D_Light").U32(3).Key(u"picture.png", 1);
    doc.Str(u"DSM_Camera").U32(2).I32(0).U32(100).U32(50).Key(u"common_res.dll", 6);
    doc.Str(u"DS_DocResManager").U32(3);
    doc.U32(1);
    doc.Key(u"picture.png", 1).U32(1).Entry(0, u"", picture, u"picture.png");
    doc.U32(0).U32(0).U32(0);  // frame times, saved resources, masks
  }

  // Falling code with scrolling columns of green glyphs from the library's strip, no flicker and
  // no glitter, over a 160 x 120 picture. Picture mode 1 (`halves`): the picture is white on the
  // left half and black on the right, and the glyphs show over the white half only; picture
  // mode 0: the picture is black and every glyph of the grid shows.
  static std::wstring CodeDocument(bool halves) {
    TestBytes doc;
    doc.Str(u"DS_MatrixCodeLight").U32(2);
    doc.U32(16).U32(60).U32(0).I32(0).I32(halves ? 1 : 0).I32(0);  // cell, density, flicker, glitter, modes
    doc.U32(0x0000FF00u).U32(0x0000FF00u).U32(0);                   // glyph and head colour, transparency
    doc.Key(u"common_res.dll", 40);
    BaseAndResources(doc, Png(160, 120, [halves](int x, int) { return halves && x < 80 ? 0xFFFFFFFFu : 0xFF000000u; }));
    return Write(halves ? L"code.dds" : L"plain-code.dds", doc.bytes);
  }

  // Water over red and blue stripes, 8 pixels wide, with no drops but the first.
  static std::wstring WaterDocument() {
    TestBytes doc;
    doc.Str(u"DS_WaterRingLight").U32(2);
    doc.U32(0).U32(0).U32(0).U32(100).U32(60).U32(40);  // speed, rows, resolution, strength, damping, depth
    doc.U32(0).U32(90).U32(50).I32(0);                  // drop rate, specular, shininess, render mode
    BaseAndResources(doc, Png(64, 48, [](int x, int) { return (x / 8) % 2 ? 0xFF0000FFu : 0xFFFF0000u; }));
    return Write(L"water.dds", doc.bytes);
  }

  static std::wstring Write(const std::wstring& name, const std::vector<uint8_t>& bytes) {
    const std::wstring path = s_Dir + L"\\" + name;
    std::ofstream(std::string(path.begin(), path.end()), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  // Frames at 0.04 s apart from `start` (below 1.5 s), written to `out`: with a step of 1 s the
  // viewer renders no frame between them, so they are consecutive rendered frames.
  static std::vector<Pixels> Frames(const std::wstring& doc, const std::wstring& out, int seed, float start, int n) {
    std::wstring times;
    std::vector<float> at;
    for (int i = 0; i < n; ++i) {
      at.push_back(start + 0.04f * i);
      times += (i ? L"," : L"") + std::to_wstring(at.back());
    }
    const std::wstring dir = s_Dir + L"\\" + out;
    const std::wstring args = L"--doc \"" + doc + L"\" --out \"" + dir + L"\" --size 320x240 --step 1 --seed " +
                              std::to_wstring(seed) + L" --times " + times;
    const intptr_t code = _wspawnl(_P_WAIT, g_Viewer.c_str(), L"scene-viewer", args.c_str(), nullptr);
    EXPECT_EQ(code, 0);
    std::vector<Pixels> frames;
    for (float t : at) {
      wchar_t name[64];
      swprintf(name, 64, L"\\frame-%06d.png", static_cast<int>(t * 1000.0f + 0.5f));
      frames.push_back(Read(dir + name));
    }
    return frames;
  }

  static Pixels Read(const std::wstring& path) {
    Pixels pixels;
    DS_ComHolder<IDirect3DSurface9> surface;
    if (FAILED(s_Device->Device()->CreateOffscreenPlainSurface(kWidth, kHeight, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM,
                                                              surface.Receive(), nullptr)))
      return pixels;
    const HRESULT loaded =
        D3DXLoadSurfaceFromFileW(surface.Get(), nullptr, nullptr, path.c_str(), nullptr, D3DX_FILTER_NONE, 0, nullptr);
    EXPECT_EQ(loaded, D3D_OK) << "no frame " << std::string(path.begin(), path.end());
    D3DLOCKED_RECT locked;
    if (FAILED(loaded) || FAILED(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY))) return pixels;
    for (int y = 0; y < kHeight; ++y) {
      const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const uint8_t*>(locked.pBits) + y * locked.Pitch);
      for (int x = 0; x < kWidth; ++x) pixels.push_back(row[x] & 0xFFFFFFu);
    }
    surface->UnlockRect();
    return pixels;
  }

  // The cells (row, column) with a green pixel inside their box.
  static std::set<std::pair<int, int>> GlyphCells(const Pixels& pixels) {
    std::set<std::pair<int, int>> cells;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        if (IsGreen(pixels[y * kWidth + x])) cells.insert({y / kCell, x / kCell});
    return cells;
  }

  static DS_WindowDevice* s_Device;
  static std::wstring s_Dir;
};
DS_WindowDevice* CodeRingsViewer::s_Device = nullptr;
std::wstring CodeRingsViewer::s_Dir;

TEST_F(CodeRingsViewer, GlyphsFallOneCellPerFrameOverTheBrightHalfOnly) {
  const std::wstring doc = CodeDocument(true);
  const std::vector<Pixels> frames = Frames(doc, L"code-a", 7, 1.0f, 24);
  ASSERT_EQ(frames.size(), 24u);
  for (const Pixels& frame : frames) ASSERT_EQ(frame.size(), size_t(kWidth * kHeight));
  // The same seed draws the same frames; another seed other ones.
  EXPECT_EQ(Frames(doc, L"code-b", 7, 1.0f, 24), frames);
  EXPECT_NE(Frames(doc, L"code-c", 8, 1.0f, 24).back(), frames.back());

  int fell = 0, shown = 0;
  std::set<std::pair<int, int>> before = GlyphCells(frames[0]);
  for (size_t k = 0; k < frames.size(); ++k) {
    const std::set<std::pair<int, int>> now = GlyphCells(frames[k]);
    shown += static_cast<int>(now.size());
    for (const auto& [r, c] : now) {
      EXPECT_LT(c, 5) << "a glyph over the black half, frame " << k;  // columns 0-4 lie over the white half
      if (k == 0 || r == 0) continue;
      EXPECT_TRUE(before.count({r - 1, c}) || before.count({r, c})) << "frame " << k << " cell " << r << ", " << c;
      if (!before.count({r, c})) ++fell;
    }
    before = now;
  }
  EXPECT_GT(shown, 20);
  EXPECT_GT(fell, 5);
}

// The layer makes its grid six times as it copies its parameters in - first from the settings'
// defaults (cell 16, density 20, flicker count 10), then after the cell size, the density, the
// flicker count, the glitter and the column mode - and each grid picks its flicker cells from
// rand(). The viewer's frames with seed 7 show exactly the glyphs of a grid made so from seed 7
// and stepped once per rendered frame.
TEST_F(CodeRingsViewer, TheSeededGlyphsAreThoseOfTheGridMadeSixTimesAtCreation) {
  const int n = 24;
  const std::vector<Pixels> frames = Frames(CodeDocument(false), L"code-seeded", 7, 1.0f, n);
  ASSERT_EQ(frames.size(), size_t(n));
  std::srand(7);
  DS_MatrixSettings settings;
  std::unique_ptr<DS_MatrixGrid> grid = DS_MatrixGrid::Create(settings, 160, 120);
  const struct {
    std::int32_t DS_MatrixSettings::*field;
    std::int32_t value;
  } copied[] = {{&DS_MatrixSettings::cellSize, 16},    {&DS_MatrixSettings::density, 60},
                {&DS_MatrixSettings::flickerCount, 0}, {&DS_MatrixSettings::glitter, 0},
                {&DS_MatrixSettings::columnMode, 0}};
  for (const auto& c : copied) {
    settings.*c.field = c.value;
    grid = DS_MatrixGrid::Create(settings, 160, 120);
  }
  DS_MatrixCursor cursor(std::move(grid));
  const int sprites = cursor.Grid().columnCount * cursor.Grid().rowCount;
  // The viewer renders t = 0, then the requested 1.0, 1.04, ...
  int compared = 0;
  for (int frame = -1; frame < n; ++frame) {
    cursor.StepGrid(sprites);
    std::set<std::pair<int, int>> expected;
    DS_MatrixSprite sprite;
    for (int i = 0; i < sprites; ++i)
      if (cursor.NextVisibleCell(sprite, 0.0f, 0.0f, 1.0f, 1.0f)) expected.insert({sprite.row, sprite.column});
    if (frame < 0) continue;
    EXPECT_EQ(GlyphCells(frames[frame]), expected) << "frame " << frame;
    compared += static_cast<int>(expected.size());
  }
  EXPECT_GT(compared, 10);
}

// Where the picture changed between two frames (0x00RRGGBB, tolerance 40).
RingChange ChangeBetween(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b,
                         const RingChange* from = nullptr) {
  return MeasureChange(kWidth, kHeight, [&](int x, int y) { return !SameColour(a[y * kWidth + x], b[y * kWidth + x], 40); },
                       from);
}

TEST_F(CodeRingsViewer, RingsSpreadFromARandomDropAndMoveThePictureBetweenFrames) {
  const std::wstring doc = WaterDocument();
  const std::vector<Pixels> frames = Frames(doc, L"water", 3, 0.1f, 12);
  ASSERT_EQ(frames.size(), 12u);
  // The picture moves from one frame to the next around the drop; later the ring has carried
  // the change far out from where it fell.
  const RingChange early = ChangeBetween(frames[0], frames[1]);
  const RingChange late = ChangeBetween(frames[0], frames[11], &early);
  EXPECT_GT(early.count, 10);
  EXPECT_GT(late.count, early.count);
  EXPECT_LT(early.reach, 20.0);
  EXPECT_GT(late.reach, early.reach + 20.0);
  // Away from the ring, in the corner farthest from the drop, the stripes stay where the picture
  // has them: red from x = 0 to 40, blue from 280 to 320 (8 picture pixels are 40 of the screen).
  const int y = early.y < kHeight / 2 ? kHeight - 6 : 5;
  if (early.x < kWidth / 2)
    EXPECT_TRUE(SameColour(frames[11][y * kWidth + 300], 0x0000FF, 60));
  else
    EXPECT_TRUE(SameColour(frames[11][y * kWidth + 20], 0xFF0000, 60));
  // The drop falls at random: with another seed the ring spreads around another place.
  const std::vector<Pixels> other = Frames(doc, L"water-other", 4, 0.1f, 12);
  ASSERT_EQ(other.size(), 12u);
  const RingChange elsewhere = ChangeBetween(other[0], other[11]);
  EXPECT_GT(elsewhere.count, 10);
  EXPECT_GT(std::hypot(elsewhere.x - late.x, elsewhere.y - late.y), 20.0) << late.x << ", " << late.y;
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    fprintf(stderr, "usage: vq_code_rings_viewer_tests <scene-viewer.exe>\n");
    return 2;
  }
  for (const char* p = argv[1]; *p; ++p) g_Viewer += static_cast<wchar_t>(*p);
  return RUN_ALL_TESTS();
}
