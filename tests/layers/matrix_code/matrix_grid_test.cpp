// The falling-code grid without a device: its size and limits, the flicker picks, columns that
// scroll or write at a head one cell per frame, the fading top of a run, spawns by column mode and
// density, blanks once every sprite is used, and the walk that hands out the visible cells.
#include <gtest/gtest.h>

#include <cstdlib>

#include "layers/matrix_code/matrix_grid.h"

namespace {

DS_MatrixSettings Settings(std::int32_t cell, std::int32_t density, std::int32_t flicker, std::int32_t glitter,
                           std::int32_t columnMode, std::int32_t glyphs = 10) {
  DS_MatrixSettings s;
  s.cellSize = cell;
  s.density = density;
  s.flickerCount = flicker;
  s.glitter = glitter;
  s.columnMode = columnMode;
  s.glyphCount = glyphs;
  return s;
}

int FlickerCells(const DS_MatrixGrid& grid) {
  int n = 0;
  for (std::int32_t cell : grid.cells) n += (cell & DS_MatrixGrid::kFlicker) != 0;
  return n;
}

std::int32_t GlyphAt(const DS_MatrixGrid& grid, int row, int column) {
  return DS_MatrixGrid::GlyphOf(grid.Cell(row, column));
}

// Walks every visible cell of the frame, as the layer does for its sprites.
int Walk(DS_MatrixCursor& cursor) {
  DS_MatrixSprite sprite;
  int n = 0;
  while (cursor.NextVisibleCell(sprite, 0, 0, 8, 8)) ++n;
  return n;
}

TEST(MatrixGrid, SizeAndFlags) {
  struct Case {
    std::int32_t w, h, cell, mode;
    std::int32_t columns, rows;
    bool randomHead, headWrite;
  } cases[] = {
      {640, 480, 16, 0, 41, 31, true, false},  // columns scroll
      {320, 240, 0, 1, 321, 241, false, true},  // cell 0 counts as 1; heads
      {640, 480, 16, 2, 41, 31, true, true},    // either, per column
      {640, 480, 16, -5, 41, 31, true, true},
      {0, 0, 16, 2, 1, 1, true, true},          // no picture: one cell
      {15, 15, 16, 2, 1, 1, true, true},        // a picture smaller than a cell
      {-20, -20, 16, 2, 1, 1, true, true},      // nonsense sizes count as 0
  };
  for (const Case& k : cases) {
    const auto grid = DS_MatrixGrid::Create(Settings(k.cell, 20, 50, 0, k.mode), k.w, k.h);
    SCOPED_TRACE(testing::Message() << k.w << " x " << k.h << " cell " << k.cell);
    EXPECT_EQ(grid->columnCount, k.columns);
    EXPECT_EQ(grid->rowCount, k.rows);
    EXPECT_EQ(grid->cells.size(), size_t(k.columns) * k.rows);
    EXPECT_EQ(grid->columns.size(), size_t(k.columns));
    EXPECT_EQ(grid->randomHead, k.randomHead);
    EXPECT_EQ(grid->headWrite, k.headWrite);
  }
  // A fine grid on a large picture takes a larger cell rather than millions of cells.
  const auto huge = DS_MatrixGrid::Create(Settings(1, 20, 50, 0, 2), 8000, 6000);
  EXPECT_LE(std::int64_t(huge->cells.size()), DS_MatrixGrid::kMaxCells);
  EXPECT_GT(huge->cellSize, 1);
  EXPECT_GT(std::int64_t(huge->cells.size()), DS_MatrixGrid::kMaxCells / 2);
  EXPECT_EQ(DS_MatrixGrid::CellSizeFor(16, 1920, 1080), 16);
}

TEST(MatrixGrid, FlickerPicks) {
  std::srand(3);
  const std::pair<std::int32_t, int> cases[] = {{0, 0}, {1, 0}, {2, 1}, {6, 5}};
  for (const auto& [count, most] : cases) {
    const auto grid = DS_MatrixGrid::Create(Settings(16, 20, count, 0, 2), 640, 480);
    EXPECT_LE(FlickerCells(*grid), most) << count;
    EXPECT_GE(FlickerCells(*grid), most > 0 ? 1 : 0) << count;
  }
  // A huge count marks nearly every cell, without billions of picks.
  const auto many = DS_MatrixGrid::Create(Settings(16, 20, 0x7FFFFFFF, 0, 2), 64, 64);
  EXPECT_GE(FlickerCells(*many), 20);
  // A new pick clears the old marks first.
  const auto grid = DS_MatrixGrid::Create(Settings(16, 20, 4, 0, 2), 640, 480);
  for (int i = 0; i < 20; ++i) grid->PickFlickerCells();
  EXPECT_LE(FlickerCells(*grid), 3);
}

TEST(MatrixGrid, ScrollingRunFallsOneCellPerFrameAndItsTopFades) {
  DS_MatrixCursor cursor(DS_MatrixGrid::Create(Settings(16, 20, 0, 0, 0), 48, 144));  // 4 x 10
  DS_MatrixGrid& grid = cursor.Grid();
  for (std::int32_t glyph : {5, 6, 7}) grid.WriteCell(-1, glyph, 1);
  EXPECT_EQ(GlyphAt(grid, 0, 1), 7);
  EXPECT_EQ(GlyphAt(grid, 1, 1), 6);
  EXPECT_EQ(GlyphAt(grid, 2, 1), 5);
  for (int frame = 1; frame <= 4; ++frame) {
    grid.WriteCell(-1, 0, 1);  // the column erases from the top
    // The run has moved down one cell; from the second frame on, the cell above its top still
    // shows the top glyph, fading, for this one frame.
    EXPECT_EQ(GlyphAt(grid, frame + 2, 1), 5) << frame;
    EXPECT_EQ(GlyphAt(grid, frame + 1, 1), 6) << frame;
    EXPECT_EQ(GlyphAt(grid, frame, 1), 7) << frame;
    EXPECT_EQ(GlyphAt(grid, 0, 1), 0) << frame;
    if (frame >= 2) {
      EXPECT_EQ(DS_MatrixGrid::GlowOf(grid.Cell(frame - 1, 1)), -1) << frame;
      EXPECT_EQ(GlyphAt(grid, frame - 1, 1), 7) << frame;
    }
    cursor.Restart();
    DS_MatrixSprite sprite;
    int fading = 0;
    while (cursor.NextVisibleCell(sprite, 0, 0, 8, 8)) fading += sprite.state == 0;
    EXPECT_EQ(fading, frame >= 2 ? 1 : 0) << frame;
    if (frame >= 2) EXPECT_EQ(GlyphAt(grid, frame - 1, 1), 0) << frame;  // gone after its frame
  }
}

TEST(MatrixGrid, HeadColumnsWriteOneCellPerFrame) {
  std::srand(11);
  DS_MatrixCursor cursor(DS_MatrixGrid::Create(Settings(16, 1, 0, 0, 1), 160, 320));  // 11 x 21
  DS_MatrixGrid& grid = cursor.Grid();
  for (DS_MatrixColumn& column : grid.columns) column = {100, 0, 0};
  for (int frame = 0; frame < 40; ++frame) {
    std::vector<DS_MatrixColumn> before = grid.columns;
    grid.AdvanceColumns(false);
    for (std::int32_t c = 0; c < grid.columnCount; ++c) {
      const DS_MatrixColumn& was = before[c];
      if (was.delay > 0) {
        EXPECT_EQ(grid.columns[c].headRow, was.headRow);  // a waiting column stays put
        continue;
      }
      if (was.headRow >= grid.rowCount) continue;
      EXPECT_EQ(grid.columns[c].headRow, was.headRow + 1);
      const std::int32_t glyph = GlyphAt(grid, was.headRow, c);
      EXPECT_GE(glyph, 1);
      EXPECT_LE(glyph, 10);
      if (was.headRow + 1 < grid.rowCount) EXPECT_EQ(GlyphAt(grid, was.headRow + 1, c), 0);
    }
  }
}

TEST(MatrixGrid, SpawnsFollowTheColumnMode) {
  for (std::int32_t mode : {0, 1, 2}) {
    std::srand(5);
    const auto grid = DS_MatrixGrid::Create(Settings(16, 100, 0, 0, mode), 640, 480);
    int scrolls = 0, heads = 0;
    for (int round = 0; round < 20; ++round) {
      for (DS_MatrixColumn& column : grid->columns) column = {0, 0, 1000};
      grid->Spawn();
      for (const DS_MatrixColumn& column : grid->columns) {
        ASSERT_NE(column.headRow, 1000) << "density 100 starts every resting column";
        if (column.headRow < 0) {
          ++scrolls;
        } else {
          ++heads;
          EXPECT_LT(column.headRow, grid->rowCount / 2);
        }
        EXPECT_GE(column.remaining, 0);
        EXPECT_LE(column.remaining, grid->rowCount + 2);
        EXPECT_LE(column.delay, 8);
      }
    }
    SCOPED_TRACE(mode);
    EXPECT_EQ(heads > 0, mode != 0);
    EXPECT_EQ(scrolls > 0, mode != 1);
  }
  const std::pair<std::int32_t, std::int32_t> divisors[] = {{0, 85}, {1, 85},  {9, 85}, {10, 60}, {24, 25},
                                                            {49, 8}, {64, 5}, {89, 2}, {90, 1},  {100, 1}};
  for (const auto& [density, divisor] : divisors) EXPECT_EQ(DS_MatrixGrid::SpawnDivisor(density), divisor);
}

TEST(MatrixGrid, BlanksOnceEverySpriteWasUsed) {
  for (bool full : {false, true}) {
    DS_MatrixCursor cursor(DS_MatrixGrid::Create(Settings(16, 1, 0, 0, 1), 64, 64));  // 5 x 5
    DS_MatrixGrid& grid = cursor.Grid();
    const std::int32_t sprites = grid.columnCount * grid.rowCount;
    for (std::int32_t& cell : grid.cells) cell = 3;
    for (DS_MatrixColumn& column : grid.columns) column = {10, 0, 0};
    cursor.Restart();
    EXPECT_EQ(Walk(cursor), sprites);
    cursor.StepGrid(full ? sprites : sprites + 1);
    EXPECT_EQ(cursor.PreviousCount(), sprites);
    for (std::int32_t c = 0; c < grid.columnCount; ++c) {
      if (full)
        EXPECT_EQ(GlyphAt(grid, 0, c), 0) << c;
      else
        EXPECT_NE(GlyphAt(grid, 0, c), 0) << c;
    }
  }
}

TEST(MatrixGrid, WalkHandsOutTheVisibleCells) {
  DS_MatrixCursor cursor(DS_MatrixGrid::Create(Settings(16, 20, 0, 0, 2, 4), 64, 32));  // 5 x 3, N = 4
  DS_MatrixGrid& grid = cursor.Grid();
  grid.Cell(0, 3) = 2;
  grid.Cell(2, 1) = DS_MatrixGrid::WithGlow(4, 3) | DS_MatrixGrid::kDirty;
  grid.Cell(2, 4) = 1 | DS_MatrixGrid::kFlicker;
  cursor.Restart();
  DS_MatrixSprite sprite;
  struct Expected {
    std::int32_t column, row, state;
    float x, y, v0, v1;
  } expected[] = {{3, 0, 1, 100 + 5 * 7, 50 + 4 * 1, 0.25f, 0.5f},
                  {1, 2, 2, 100 + 5 * 3, 50 + 4 * 5, 0.75f, 1.0f},
                  {4, 2, 2, 100 + 5 * 9, 50 + 4 * 5, 0.0f, 0.25f}};
  for (const Expected& e : expected) {
    ASSERT_TRUE(cursor.NextVisibleCell(sprite, 100, 50, 5, 4));
    EXPECT_EQ(sprite.column, e.column);
    EXPECT_EQ(sprite.row, e.row);
    EXPECT_EQ(sprite.state, e.state);
    EXPECT_FLOAT_EQ(sprite.x, e.x);
    EXPECT_FLOAT_EQ(sprite.y, e.y);
    EXPECT_FLOAT_EQ(sprite.v0, e.v0);
    EXPECT_FLOAT_EQ(sprite.v1, e.v1);
    EXPECT_EQ(sprite.colourMask, 0xFFFFFFFFu);
  }
  EXPECT_FALSE(cursor.NextVisibleCell(sprite, 100, 50, 5, 4));
  EXPECT_EQ(sprite.colourMask, 0x00FFFFFFu);  // the sprites past the last cell are transparent
  EXPECT_EQ(cursor.CurrentCount(), 3);
  EXPECT_EQ(DS_MatrixGrid::GlowOf(grid.Cell(2, 1)), 2);  // the glow wears off one step per frame
}

TEST(MatrixGrid, TinyGridsRunWithEveryOption) {
  // One column or one row: every modulo of the spawn and glitter arithmetic has a divisor.
  const std::pair<std::int32_t, std::int32_t> sizes[] = {{0, 0}, {16, 0}, {0, 16}, {40, 10}, {10, 40}};
  for (const auto& [w, h] : sizes)
    for (std::int32_t mode : {0, 1, 2})
      for (std::int32_t flicker : {0, 1, 3}) {
        std::srand(9);
        DS_MatrixCursor cursor(DS_MatrixGrid::Create(Settings(16, 100, flicker, 1, mode, 3), w, h));
        const std::int32_t sprites = std::int32_t(cursor.Grid().cells.size());
        int shown = 0;
        for (int frame = 0; frame < 300; ++frame) {
          cursor.StepGrid(sprites);
          const int n = Walk(cursor);
          ASSERT_LE(n, sprites);
          shown += n;
        }
        EXPECT_GT(shown, 0) << w << " x " << h << " mode " << mode;
      }
}

}  // namespace
