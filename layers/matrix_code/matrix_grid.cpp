#include "layers/matrix_code/matrix_grid.h"

#include <algorithm>
#include <cstdlib>

namespace {

int Rand() { return std::rand(); }

std::int64_t CellsOf(std::int32_t cell, std::int32_t w, std::int32_t h) {
  return (std::int64_t{w} / cell + 1) * (std::int64_t{h} / cell + 1);
}

}  // namespace

std::int32_t DS_MatrixGrid::CellSizeFor(std::int32_t wanted, std::int32_t w, std::int32_t h) {
  std::int32_t cell = std::max(wanted, 1);
  w = std::max(w, 0);
  h = std::max(h, 0);
  while (CellsOf(cell, w, h) > kMaxCells) ++cell;
  return cell;
}

std::unique_ptr<DS_MatrixGrid> DS_MatrixGrid::Create(const DS_MatrixSettings& settings, std::int32_t w,
                                                     std::int32_t h) {
  auto grid = std::make_unique<DS_MatrixGrid>();
  grid->pictureWidth = std::max(w, 0);
  grid->pictureHeight = std::max(h, 0);
  grid->cellSize = CellSizeFor(settings.cellSize, grid->pictureWidth, grid->pictureHeight);
  grid->columnMode = settings.columnMode;
  grid->density = settings.density;
  grid->flickerCount = settings.flickerCount;
  grid->glitter = settings.glitter;
  grid->columnCount = grid->pictureWidth / grid->cellSize + 1;
  grid->rowCount = grid->pictureHeight / grid->cellSize + 1;
  grid->cells.assign(static_cast<size_t>(grid->columnCount) * grid->rowCount, 0);
  grid->columns.assign(grid->columnCount, DS_MatrixColumn{});
  grid->randomHead = settings.columnMode != 1;
  grid->headWrite = settings.columnMode != 0;
  grid->glyphCount = std::clamp(settings.glyphCount, 1, kMaxGlyphs);
  grid->PickFlickerCells();
  return grid;
}

void DS_MatrixGrid::PickFlickerCells() {
  for (std::int32_t& cell : cells) cell &= ~kFlicker;
  // The stored count is unsigned: 0 would mean four billion picks. Four picks per cell mark
  // nearly every cell already; more would only stall the frame.
  if (flickerCount < 2) return;
  const std::int64_t picks = std::min<std::int64_t>(flickerCount - 1, 4 * std::int64_t{columnCount} * rowCount);
  for (std::int64_t i = 0; i < picks; ++i) {
    const std::int32_t column = Rand() % columnCount;
    const std::int32_t row = Rand() % rowCount;
    Cell(row, column) |= kFlicker;
  }
}

void DS_MatrixGrid::WriteCell(std::int32_t row, std::int32_t glyph, std::int32_t column) {
  if (row >= rowCount) return;
  const bool scrolling = row < 0;
  if (scrolling) {
    for (std::int32_t r = rowCount - 1; r >= 1; --r) {
      std::int32_t& cell = Cell(r, column);
      const std::int32_t above = Cell(r - 1, column);
      if (GlyphOf(cell) != 0 && GlyphOf(above) == 0) {
        cell = WithGlow(cell, -1);  // the top of a run stays one frame longer, fading
      } else {
        cell = (cell & ~(kGlyphMask | kGlowMask)) | (above & (kGlyphMask | kGlowMask));
      }
      cell |= kDirty;
    }
    row = 0;
  }
  std::int32_t& target = Cell(row, column);
  target = (target & ~kGlyphMask) | (glyph & kGlyphMask) | kDirty;
  if (glyph != 0) target = WithGlow(target, scrolling ? 0 : Rand() % 2 + 1);
}

void DS_MatrixGrid::AdvanceColumns(bool writeBlanks) {
  for (std::int32_t i = 0; i < columnCount; ++i) {
    DS_MatrixColumn& column = columns[i];
    if (column.delay > 0) {
      --column.delay;
    } else {
      if (column.remaining <= 0) {
        WriteCell(column.headRow, 0, i);
      } else {
        WriteCell(column.headRow, writeBlanks ? 0 : Rand() % glyphCount + 1, i);
        --column.remaining;
      }
      // A head past the last row writes nothing more; it stops there.
      if (column.headRow >= 0 && column.headRow < rowCount) ++column.headRow;
    }
    if (Rand() % 10 == 0) {
      const std::int32_t first = Rand() % 5;
      column.delay = first + Rand() % 5;
    }
  }
}

std::int32_t DS_MatrixGrid::SpawnDivisor(std::int32_t d) {
  struct Step {
    std::int32_t below, divisor;
  };
  static constexpr Step kSteps[] = {{10, 85}, {15, 60}, {20, 45}, {25, 25}, {30, 20}, {35, 15},
                                    {45, 10}, {50, 8},  {55, 7},  {65, 5},  {80, 3},  {90, 2}};
  for (const Step& step : kSteps)
    if (d < step.below) return step.divisor;
  return 1;
}

void DS_MatrixGrid::Spawn() {
  if (glitter != 0) {
    // A grid one or two cells wide still glitters now and then, without a modulo by zero.
    const std::int32_t n = (Rand() % (std::max(1, columnCount / 2) * 10)) / 10 - 1;
    for (std::int32_t i = 0; i < n; ++i) {
      const std::int32_t column = Rand() % columnCount;
      const std::int32_t row = Rand() % rowCount;
      std::int32_t& cell = Cell(row, column);
      if (GlyphOf(cell) != 0 && GlowOf(cell) == 0) cell = WithGlow(cell, Rand() % 20) | kDirty;
    }
  }
  const std::int32_t divisor = SpawnDivisor(density);
  for (DS_MatrixColumn& column : columns) {
    if (column.remaining > 0) continue;
    if (Rand() % divisor != 0) continue;
    column.remaining = Rand() % rowCount + 3;
    const std::int32_t first = Rand() % 5;
    column.delay = first + Rand() % 5;
    if (Rand() % 4 != 0) column.remaining = 0;  // three spawns in four erase
    const bool atHead = randomHead && headWrite ? (Rand() & 1) != 0 : headWrite;
    column.headRow = atHead ? Rand() % std::max(1, rowCount / 2) : -1;
  }
  if (Rand() % 500 == 0) PickFlickerCells();
}

void DS_MatrixCursor::Restart() {
  m_Column = 0;
  m_Row = 0;
  m_PreviousCount = m_CurrentCount;
  m_CurrentCount = 0;
}

void DS_MatrixCursor::StepGrid(std::int32_t spriteCount) {
  Restart();
  m_Grid->AdvanceColumns(m_PreviousCount >= spriteCount);
  m_Grid->Spawn();
}

bool DS_MatrixCursor::NextVisibleCell(DS_MatrixSprite& sprite, float left, float top, float halfW, float halfH) {
  DS_MatrixGrid& grid = *m_Grid;
  const std::int32_t N = grid.glyphCount;
  while (m_Row < grid.rowCount) {
    const std::int32_t column = m_Column, row = m_Row;
    if (++m_Column >= grid.columnCount) {
      m_Column = 0;
      ++m_Row;
    }
    std::int32_t& cell = grid.Cell(row, column);
    const std::int32_t glyph = DS_MatrixGrid::GlyphOf(cell);
    const bool visible = glyph != 0;
    if (visible) {
      ++m_CurrentCount;
      const std::int32_t glow = DS_MatrixGrid::GlowOf(cell);
      sprite.x = left + halfW * static_cast<float>(2 * column + 1);
      sprite.y = top + halfH * static_cast<float>(2 * row + 1);
      sprite.z = 0.0f;
      sprite.column = column;
      sprite.row = row;
      sprite.state = glow > 0 || (cell & DS_MatrixGrid::kFlicker) ? 2 : glow == 0 ? 1 : 0;
      sprite.v0 = static_cast<float>(glyph - 1) / static_cast<float>(N);
      sprite.v1 = static_cast<float>(glyph) / static_cast<float>(N);
      sprite.colourMask = 0xFFFFFFFFu;
    }
    if (cell & DS_MatrixGrid::kDirty) {
      cell &= ~DS_MatrixGrid::kDirty;
      const std::int32_t glow = DS_MatrixGrid::GlowOf(cell);
      if (glow > 0) {
        cell = DS_MatrixGrid::WithGlow(cell, glow - 1) | DS_MatrixGrid::kDirty;
      } else if (glow < 0) {
        cell = DS_MatrixGrid::WithGlow(cell, glow + 1) | DS_MatrixGrid::kDirty;
        if (glow + 1 == 0) cell &= ~DS_MatrixGrid::kGlyphMask;
      }
      if ((cell & DS_MatrixGrid::kFlicker) && DS_MatrixGrid::GlyphOf(cell) != 0)
        cell = (cell & ~DS_MatrixGrid::kGlyphMask) | (Rand() % N) | DS_MatrixGrid::kDirty;
    }
    if (visible) return true;
  }
  sprite.colourMask &= 0x00FFFFFFu;
  return false;
}
