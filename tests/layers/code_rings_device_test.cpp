// The falling-code and water-ring layers on a device (windowed HAL under Wine), on pictures made
// here: glyphs drawn where the grid holds them, falling one cell per frame, shown in picture mode 1
// only over the bright part of the picture; water that stays still without drops and whose rings
// spread from a drop and move the picture under them; and both layers through device loss and
// reset, as the current slide and as the slide that becomes current after the loss.
#include <d3dx9.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/render/device_globals.h"
#include "core/render/view_state.h"
#include "core/resources/doc_res_manager.h"
#include "layers/matrix_code/ds_matrix_code_light.h"
#include "scene/ds_slide_container.h"
#include "scene/ds_slide_show.h"
#include "scene/scene_document.h"
#include "layers/water_ring/ds_water_ring_light.h"
#include "tests/support/layer_fixture.h"
#include "tests/support/stored_picture.h"
#include "tests/layers/glyph_pixels.h"
#include "tests/layers/ring_change.h"
#include "tools/device/window_device.h"

namespace {

constexpr int kWidth = 320, kHeight = 240;
constexpr std::uint32_t kRed = 0xFF0000, kBlue = 0x0000FF;
std::string g_DocumentDir;

DS_ResourceKey Key(const char16_t* name, int64_t stamp) { return DS_ResourceKey{name, stamp}; }

class CodeRingsDevice : public LayerFixture {
 protected:
  void SetUp() override {
    LayerFixture::SetUp();
    // 4:3 pictures: white on the left half and black on the right; vertical red and blue stripes
    // 8 pixels wide. The glyph strip: 5 bands of solid white (8 x 24 gives N = 24 / 8 + 2).
    StorePicture(*m_Manager, Key(u"halves.png", 1), MakeTexture(Device(), 64, 48, [](int x, int) {
                   return x < 32 ? 0xFFFFFFFFu : 0xFF000000u;
                 }), 64, 48);
    StorePicture(*m_Manager, Key(u"stripes.png", 2), MakeTexture(Device(), 64, 48, [](int x, int) {
                   return 0xFF000000u | ((x / 8) % 2 ? kBlue : kRed);
                 }), 64, 48);
    StorePicture(*m_Manager, Key(u"glyphs.png", 3), MakeTexture(Device(), 8, 24, [](int, int) {
                   return 0xFFFFFFFFu;
                 }), 8, 24);
  }
  void TearDown() override {
    m_Show.reset();
    LayerFixture::TearDown();
  }

  std::unique_ptr<DS_MatrixCodeLight> MakeCode(int32_t pictureMode, int32_t columnMode) {
    auto layer = std::make_unique<DS_MatrixCodeLight>();
    layer->SetPictureLink(Key(u"halves.png", 1));
    layer->glyphPicture.StoreKey(Key(u"glyphs.png", 3));
    layer->cellSize.Store(4);  // 17 x 13 cells over the 64 x 48 picture
    layer->density.Store(60);
    layer->flickerCount.Store(0);
    layer->pictureMode.Store(pictureMode);
    layer->columnMode.Store(columnMode);
    layer->glyphColour.Store(0x0000FF00u);  // green (red is the low byte)
    layer->headColour.Store(0x0000FF00u);
    return Made(std::move(layer));
  }

  std::unique_ptr<DS_WaterRingLight> MakeWater() {
    auto layer = std::make_unique<DS_WaterRingLight>();
    layer->SetPictureLink(Key(u"stripes.png", 2));
    layer->dropRate.Set(0);  // only the drop of the setup
    return Made(std::move(layer));
  }

  template <class Layer>
  std::unique_ptr<Layer> Made(std::unique_ptr<Layer> layer) {
    layer->CreateDeviceObjects();
    layer->OnDeviceReset();
    layer->Layout(kWidth, kHeight);
    layer->SetPicturePosition(kPicturePositionStretch);  // the picture fills the screen
    return layer;
  }

  // The cells whose centres show a glyph (the picture fills the screen in Stretch).
  static std::set<std::pair<int, int>> GreenCells(const DS_PixelReadback& pixels, const DS_MatrixGrid& grid) {
    std::set<std::pair<int, int>> cells;
    const float w = static_cast<float>(kWidth) / 64.0f * grid.cellSize;
    const float h = static_cast<float>(kHeight) / 48.0f * grid.cellSize;
    for (int r = 0; r < grid.rowCount; ++r)
      for (int c = 0; c < grid.columnCount; ++c) {
        const int x = static_cast<int>((c + 0.5f) * w), y = static_cast<int>((r + 0.5f) * h);
        if (x < kWidth && y < kHeight && IsGreen(pixels.At(x, y))) cells.insert({r, c});
      }
    return cells;
  }

  std::unique_ptr<DS_SlideShow_Light> m_Show;
};

TEST_F(CodeRingsDevice, GlyphColumnsFallOneCellPerFrame) {
  std::srand(17);
  auto layer = MakeCode(0, 0);  // every column scrolls
  const DS_MatrixGrid& grid = layer->Cursor()->Grid();
  ASSERT_EQ(layer->Sprites().SpriteCount(), grid.columnCount * grid.rowCount);
  std::set<std::pair<int, int>> before = GreenCells(Frame(*layer, 0.0f), grid);
  int fell = 0;
  for (int frame = 1; frame < 40; ++frame) {
    const std::set<std::pair<int, int>> now = GreenCells(Frame(*layer, 0.04f * frame), grid);
    // The glyphs on screen are the cells the walk handed out this frame, but for those of the
    // last column and row, which lie past the picture's edge.
    const int shown = static_cast<int>(now.size()), handed = layer->Cursor()->CurrentCount();
    EXPECT_LE(shown, handed) << frame;
    EXPECT_GE(shown + grid.columnCount + grid.rowCount - 1, handed) << frame;
    for (const auto& [r, c] : now) {
      if (r == 0) continue;  // written at the top this frame
      // A glyph below the top came from the cell above it, or stayed (a waiting column, or the
      // fading top of a run): never from further up.
      EXPECT_TRUE(before.count({r - 1, c}) || before.count({r, c})) << "frame " << frame << " cell " << r << ", " << c;
      if (!before.count({r, c})) ++fell;
    }
    before = now;
  }
  EXPECT_GT(fell, 50);
}

TEST_F(CodeRingsDevice, PictureModeOneShowsGlyphsOnlyOverTheBrightPart) {
  std::srand(5);
  // Scrolling columns only: their glyphs are ordinary ones, whose opacity follows the picture
  // (a bright head glyph written at a head row shows at full opacity anywhere).
  auto layer = MakeCode(1, 0);
  ASSERT_EQ(layer->LuminanceMap().size(), 65536u);
  EXPECT_NEAR(layer->LuminanceMap()[100 * 256 + 10], 1.0f, 0.01f);
  EXPECT_NEAR(layer->LuminanceMap()[100 * 256 + 250], 0.0f, 0.01f);
  // A glyph takes the map's brightness at its cell's top left corner as a fraction of the K
  // cells, which reach past the picture's right edge: the first column looked up in the black
  // half is the one at K / 2, rounded up (its cells are 4 picture pixels, 20 screen pixels).
  const int firstDark = (layer->Cursor()->Grid().columnCount + 1) / 2;
  const int darkX = firstDark * 4 * kWidth / 64;
  int left = 0, right = 0;
  for (int frame = 0; frame < 30; ++frame) {
    const DS_PixelReadback pixels = Frame(*layer, 0.04f * frame);
    for (int y = 0; y < kHeight; y += 2)
      for (int x = 0; x < kWidth; x += 2) {
        const std::uint32_t rgb = pixels.At(x, y);
        if (x >= darkX + 2) {
          EXPECT_EQ(rgb, 0u) << x << ", " << y;  // black picture, black background: nothing shows
          if (rgb != 0) return;
        }
        if (x < kWidth / 2 - 10 && IsGreen(rgb)) ++left;
      }
    right += layer->Cursor()->CurrentCount();
  }
  EXPECT_GT(left, 1000);
  EXPECT_GT(right, 0);  // there were glyphs over the black half too; they did not show
}

TEST_F(CodeRingsDevice, PictureModeOneWithoutAPictureAndAGlyphStripThatFailed) {
  // No picture texture: the map stays black and nothing shows; a glyph strip of width 0 leaves two
  // bands and no texture: the layer draws its background only.
  auto layer = std::make_unique<DS_MatrixCodeLight>();
  layer->SetPictureLink(Key(u"missing.png", 9));
  layer->glyphPicture.StoreKey(Key(u"missing-glyphs.png", 10));
  layer->pictureMode.Store(1);
  layer->cellSize.Store(0);
  layer = Made(std::move(layer));
  EXPECT_EQ(layer->Settings().glyphCount, 2);
  EXPECT_EQ(layer->Settings().cellSize, 1);
  ASSERT_EQ(layer->LuminanceMap().size(), 65536u);
  for (float value : layer->LuminanceMap()) ASSERT_EQ(value, 0.0f);
  for (int frame = 0; frame < 5; ++frame) {
    const DS_PixelReadback pixels = Frame(*layer, 0.1f * frame);
    EXPECT_EQ(pixels.At(kWidth / 2, kHeight / 2), 0u);
  }
}

TEST_F(CodeRingsDevice, StillWaterShowsThePictureSteadily) {
  // Render mode 0 puts the layer picture under the water; mode 1 the whole scene, drawn into the
  // layer's target first.
  for (int32_t mode : {0, 1}) {
    SCOPED_TRACE(mode);
    auto layer = std::make_unique<DS_WaterRingLight>();
    layer->SetPictureLink(Key(u"stripes.png", 2));
    layer->dropRate.Set(0);
    layer->renderMode.Store(mode);
    layer = Made(std::move(layer));
    EXPECT_EQ(layer->HasDistortion(), mode == 1);
    layer->Surface().dropStrength = 0.0f;
    layer->SetupSurface();
    const DS_PixelReadback a = Frame(*layer, 0.1f), b = Frame(*layer, 0.2f);
    int red = 0, blue = 0, differing = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        red += SameColour(a.At(x, y), kRed, 60);
        blue += SameColour(a.At(x, y), kBlue, 60);
        differing += !SameColour(a.At(x, y), b.At(x, y), 2);
      }
    EXPECT_GT(red, kWidth * kHeight / 3);
    EXPECT_GT(blue, kWidth * kHeight / 3);
    EXPECT_EQ(differing, 0);
    // Stripes across, as in the picture: eight pixels of it are 40 of the screen.
    EXPECT_TRUE(SameColour(a.At(20, kHeight / 2), kRed, 60));
    EXPECT_TRUE(SameColour(a.At(60, kHeight / 2), kBlue, 60));
  }
}

// Where a frame differs from still water (tolerance 40).
RingChange ChangeFrom(const DS_PixelReadback& still, const DS_PixelReadback& now, const RingChange* from = nullptr) {
  return MeasureChange(kWidth, kHeight, [&](int x, int y) { return !SameColour(now.At(x, y), still.At(x, y), 40); },
                       from);
}

TEST_F(CodeRingsDevice, RingsSpreadFromADropAndShiftThePicture) {
  auto layer = MakeWater();
  layer->Surface().dropStrength = 0.0f;
  layer->SetupSurface();
  const DS_PixelReadback still = Frame(*layer, 0.1f);
  layer->Surface().dropStrength = 4.0f;
  std::srand(11);
  layer->SetupSurface();  // still water and one drop, at random
  // Where the picture has moved, and how far from where it first moved.
  const RingChange early = ChangeFrom(still, Frame(*layer, 0.2f));
  for (int i = 0; i < 11; ++i) Frame(*layer, 0.3f + 0.05f * i);
  const RingChange late = ChangeFrom(still, Frame(*layer, 1.0f), &early);
  EXPECT_GT(early.count, 20);
  EXPECT_GT(late.count, 20);
  EXPECT_GT(late.reach, early.reach + 20.0);
  EXPECT_LT(early.reach, kHeight / 2.0);
}

TEST_F(CodeRingsDevice, WaterComesThroughLossAndReset) {
  auto layer = MakeWater();
  layer->Surface().dropStrength = 4.0f;
  ASSERT_TRUE(layer->Surface().HasBuffers());
  const DS_PixelReadback before = Frame(*layer, 0.1f);
  layer->OnDeviceLost();
  EXPECT_FALSE(layer->Surface().HasBuffers());
  layer->Update(0.2f);  // between the loss and the reset the water only simulates
  ASSERT_EQ(Device()->Reset(&s_Device->PresentParameters()), D3D_OK);
  layer->OnDeviceReset();  // still water again, and a new drop
  EXPECT_TRUE(layer->Surface().HasBuffers());
  // Water over the picture: the stripes still cover the screen, and the new drop's ring moves
  // them from frame to frame and spreads.
  const DS_PixelReadback first = Frame(*layer, 0.1f);
  for (int i = 0; i < 11; ++i) Frame(*layer, 0.15f + 0.05f * i);
  const DS_PixelReadback later = Frame(*layer, 0.8f);
  for (const DS_PixelReadback* frame : {&before, &first, &later}) {
    int red = 0, blue = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        red += SameColour(frame->At(x, y), kRed, 60);
        blue += SameColour(frame->At(x, y), kBlue, 60);
      }
    EXPECT_GT(red, kWidth * kHeight / 3);
    EXPECT_GT(blue, kWidth * kHeight / 3);
  }
  EXPECT_GT(ChangeFrom(first, later).count, 20);
}

// The show: a water slide and a falling-code slide, each shown 2 s with 1 s fades.
TEST_F(CodeRingsDevice, BothLayersComeThroughLossesAsCurrentAndAsTheNextSlide) {
  std::ifstream file(g_DocumentDir + "/code-rings.dds", std::ios::binary);
  ASSERT_TRUE(file) << g_DocumentDir;
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  m_Show = LoadSceneFromBytes(bytes.data(), bytes.size());
  m_Show->StartScene(kPicturePositionStretch);
  ASSERT_EQ(m_Show->Slides().size(), 2u);
  auto* water = dynamic_cast<DS_WaterRingLight*>(m_Show->Slides()[0]->GetLayer().get());
  auto* code = dynamic_cast<DS_MatrixCodeLight*>(m_Show->Slides()[1]->GetLayer().get());
  ASSERT_NE(water, nullptr);
  ASSERT_NE(code, nullptr);
  const auto frame = [&](float t) {
    m_Show->Update(t);
    EXPECT_EQ(Device()->BeginScene(), D3D_OK);
    m_Show->Render();
    Device()->EndScene();
    DS_PixelReadback pixels;
    EXPECT_TRUE(pixels.ReadBackBuffer(Device()));
    return pixels.At(kWidth / 2, kHeight / 2);
  };
  const auto loseAndReset = [&] {
    m_Show->OnDeviceLost();
    EXPECT_FALSE(water->Surface().HasBuffers());
    ASSERT_EQ(Device()->Reset(&s_Device->PresentParameters()), D3D_OK);
    m_Show->OnDeviceReset();
  };
  const std::uint32_t pool = 0x3070C0, code_background = 0xC0C0C0;
  EXPECT_TRUE(SameColour(frame(0.0f), pool, 40));
  EXPECT_TRUE(water->Surface().HasBuffers());
  loseAndReset();  // the water is current
  EXPECT_TRUE(water->Surface().HasBuffers());
  EXPECT_TRUE(SameColour(frame(0.5f), pool, 40));
  frame(3.5f);  // the falling code becomes current; the water lets go of its buffers
  EXPECT_FALSE(water->Surface().HasBuffers());
  EXPECT_TRUE(SameColour(frame(5.0f), code_background, 40));
  loseAndReset();  // the falling code is current
  EXPECT_TRUE(SameColour(frame(5.5f), code_background, 40));
  int glyphs = 0;
  for (int i = 1; i <= 10; ++i) {
    frame(5.5f + 0.04f * i);
    glyphs += code->Cursor()->CurrentCount();
  }
  EXPECT_GT(glyphs, 0);  // the columns run on after the reset
  loseAndReset();
  frame(8.0f);  // the water becomes current after the losses
  EXPECT_TRUE(water->Surface().HasBuffers());
  EXPECT_TRUE(SameColour(frame(9.5f), pool, 40));
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc > 1) g_DocumentDir = argv[1];
  return RUN_ALL_TESTS();
}
