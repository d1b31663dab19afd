// The falling-code grid without its device side: square cells over the picture, each showing one
// glyph of the glyph strip; columns that start at random, write one row per frame and later erase
// themselves; cells that flicker and glyphs that glitter. Everything random comes from rand(), so
// a seeded run repeats. No Windows header: the host tests run it.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

// The grid's input, copied from the layer's parameters.
struct DS_MatrixSettings {
  std::int32_t cellSize = 16;
  std::int32_t density = 20;
  std::int32_t flickerCount = 10;
  std::int32_t glitter = 0;
  std::int32_t columnMode = 0;
  std::int32_t glyphCount = 1;  // N: glyph g of 1..N uses the strip's band g
};

// One column's state: the cells still to write (0 or less: it erases), the frames it waits, and
// the row it writes next (-1: the whole column scrolls down and it writes at the top).
struct DS_MatrixColumn {
  std::int32_t remaining = 0;
  std::int32_t delay = 0;
  std::int32_t headRow = 0;
};

class DS_MatrixGrid {
 public:
  // A cell: bits 0-7 the glyph (0 empty, else 1..N), bits 8-15 the signed glow counter (above 0
  // bright, below 0 fading out), bit 16 changed, bit 17 flickering.
  static constexpr std::int32_t kGlyphMask = 0xFF;
  static constexpr std::int32_t kGlowMask = 0xFF00;
  static constexpr std::int32_t kDirty = 1 << 16;
  static constexpr std::int32_t kFlicker = 1 << 17;
  // The most glyphs one cell byte can name.
  static constexpr std::int32_t kMaxGlyphs = 255;
  // The most cells a grid has: a finer grid on a large picture takes a larger cell instead, so
  // that the cells and their sprites (112 bytes each) stay within reach of a 32-bit process.
  static constexpr std::int64_t kMaxCells = 262144;

  // The cell edge used for a picture of w x h with the wanted edge: 0 counts as 1, and the edge
  // grows until the grid has at most kMaxCells cells.
  static std::int32_t CellSizeFor(std::int32_t wanted, std::int32_t w, std::int32_t h);

  // An empty grid over a picture of w x h (negative sizes count as 0), with its flicker cells
  // picked.
  static std::unique_ptr<DS_MatrixGrid> Create(const DS_MatrixSettings& settings, std::int32_t w, std::int32_t h);

  // Clears every flicker mark, then marks flicker count - 1 random cells (repeats possible, at
  // most four picks per cell); a count below 2 marks none.
  void PickFlickerCells();
  // Writes `glyph` at `row` of `column` (nothing at or past the last row). A row below 0 scrolls
  // the column down one cell first and writes at the top.
  void WriteCell(std::int32_t row, std::int32_t glyph, std::int32_t column);
  // Once per frame: every column that is not waiting writes its next cell (empty ones when
  // `writeBlanks`), and any column may start to wait a few frames.
  void AdvanceColumns(bool writeBlanks);
  // The chance of a resting column starting in one frame is 1 / SpawnDivisor(density).
  static std::int32_t SpawnDivisor(std::int32_t density);
  // Once per frame after AdvanceColumns: glitter, new columns, now and then new flicker cells.
  void Spawn();

  std::int32_t& Cell(std::int32_t row, std::int32_t column) { return cells[row * columnCount + column]; }
  std::int32_t Cell(std::int32_t row, std::int32_t column) const { return cells[row * columnCount + column]; }
  static std::int32_t GlyphOf(std::int32_t cell) { return cell & kGlyphMask; }
  static std::int32_t GlowOf(std::int32_t cell) { return static_cast<std::int8_t>((cell >> 8) & 0xFF); }
  static std::int32_t WithGlow(std::int32_t cell, std::int32_t glow) {
    return (cell & ~kGlowMask) | ((glow & 0xFF) << 8);
  }

  std::int32_t pictureWidth = 0, pictureHeight = 0;
  std::int32_t cellSize = 1;
  std::int32_t columnMode = 0;
  std::int32_t density = 0;
  std::int32_t flickerCount = 0;
  std::int32_t glitter = 0;
  std::int32_t columnCount = 1;  // K = picture width / cell + 1
  std::int32_t rowCount = 1;     // R = picture height / cell + 1
  std::vector<std::int32_t> cells;
  std::vector<DS_MatrixColumn> columns;
  bool randomHead = false;  // a spawn may scroll
  bool headWrite = false;   // a spawn may write at a head row
  std::int32_t glyphCount = 2;
};

// What the walk hands each sprite: where its cell lies, how bright it is, which band of the strip
// it shows, and a mask whose alpha byte turns 0 once no visible cell is left.
struct DS_MatrixSprite {
  float x = 0.0f, y = 0.0f, z = 0.0f;
  std::int32_t column = 0, row = 0;
  // 2 bright (glowing or flickering), 1 plain, 0 fading out (half opacity).
  std::int32_t state = 0;
  float v0 = 0.0f, v1 = 0.0f;
  std::uint32_t colourMask = 0xFFFFFFFFu;
};

// The grid and the per-frame walk over its visible cells.
class DS_MatrixCursor {
 public:
  explicit DS_MatrixCursor(std::unique_ptr<DS_MatrixGrid> grid) : m_Grid(std::move(grid)) {}

  // A new frame: the walk starts at the first cell, and this frame's count becomes the last one.
  void Restart();
  // Walks on to the next cell with a glyph, ageing every changed cell on the way, and fills the
  // sprite for it (centre from the grid's top left corner and the half cell size). False once no
  // cell is left; the sprite's mask alpha is then 0.
  bool NextVisibleCell(DS_MatrixSprite& sprite, float left, float top, float halfW, float halfH);
  // One frame of the grid: columns advance (writing blanks when every sprite was used in the
  // last frame) and new ones start; then the walk restarts.
  void StepGrid(std::int32_t spriteCount);

  DS_MatrixGrid& Grid() { return *m_Grid; }
  const DS_MatrixGrid& Grid() const { return *m_Grid; }
  std::int32_t PreviousCount() const { return m_PreviousCount; }
  std::int32_t CurrentCount() const { return m_CurrentCount; }

 private:
  std::unique_ptr<DS_MatrixGrid> m_Grid;
  std::int32_t m_Column = 0, m_Row = 0;
  std::int32_t m_PreviousCount = 0, m_CurrentCount = 0;
};
