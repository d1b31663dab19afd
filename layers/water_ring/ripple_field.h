// The water of the water-ring layer without its device side: a grid of cells, each a height and a
// vertical velocity, that carries ripples by neighbour averaging with damping and takes random
// drops; the strip order of its vertices; the refraction table shared by the whole process; and
// the vertex grid made from the heights. No Windows header: the host tests run all of it.
//
// The water lies flat along x and z with y up; heights are y offsets. Cells are row-major, a row
// being one z step.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/render/vertex_records.h"

struct DS_RippleCell {
  float height = 0.0f;
  float velocity = 0.0f;
};

struct DS_RefractionEntry {
  float a = 0.0f, b = 0.0f;
  std::uint32_t colour = 0;
};

class DS_RippleField {
 public:
  // 16-bit strip indices reach at most this many vertices.
  static constexpr std::uint32_t kMaxCells = 65536;
  static constexpr int kSubSteps = 4;
  static constexpr int kTableSize = 256;

  // Sizes the grid for a surface of width x depth units: even(128 x columnFactor) columns and
  // even(128 x columnFactor x depth / width x rowFactor) rows, fewer columns when that passes
  // kMaxCells. Out-of-range and NaN factors give an empty grid or the largest one, never more
  // cells than the limit. The cells start still.
  void Size(float width, float depth, float rowFactor, float columnFactor);

  // One drop of the drop strength at a random inner cell (column first, then row, from rand()).
  // A grid with fewer than three columns or rows has no inner cell and takes none.
  void Drop();
  // A drop of the drop strength at an inner cell (nothing at a border cell or outside the grid).
  void DropAt(std::uint32_t row, std::uint32_t column);
  // The kSubSteps averaging passes of one step. A field that has run away to infinity or NaN
  // (a wave gain far beyond the scheme's stability) is calmed to still water.
  void Simulate();
  void SubStep();
  // The vertices of every cell, seen from `eye`: position, normal, refraction colour and the
  // refracted texture coordinates. `out` holds CellCount() records.
  void WriteVertices(DX_V::PNCT* out, const float (&eye)[3]) const;
  // The triangle strip over the grid, ring by ring from the outside in; `out` holds IndexCount()
  // indices. Returns how many were written (the rest is 0). Indices past the last cell read 0.
  std::uint32_t WriteSpiral(std::uint16_t* out) const;

  // The process-wide table: entry i for a cosine of about i / 255 between the eye and the normal.
  static const DS_RefractionEntry* RefractionTable();
  // The table entry for a cosine, rounded to the nearest entry and clamped to the table (NaN reads
  // the last entry, the flat water's).
  static std::size_t TableIndex(float cosine);

  std::uint32_t Columns() const { return m_Columns; }
  std::uint32_t Rows() const { return m_Rows; }
  std::uint32_t CellCount() const { return m_CellCount; }
  std::uint32_t IndexCount() const { return m_IndexCount; }
  float Width() const { return m_Width; }
  float Depth() const { return m_Depth; }
  float Drift() const { return m_Drift; }
  DS_RippleCell& Cell(std::uint32_t row, std::uint32_t column) { return m_Cells[row * m_Columns + column]; }
  const DS_RippleCell& Cell(std::uint32_t row, std::uint32_t column) const { return m_Cells[row * m_Columns + column]; }
  const std::vector<DS_RippleCell>& Cells() const { return m_Cells; }

  float waveGain = 1.0f;      // velocity-to-height factor
  float dropStrength = 0.5f;  //
  float damping = 0.99f;      // velocity kept per sub-step
  float depthFactor = 0.2f;   // scales the refraction offset

 private:
  float m_Width = 0.0f, m_Depth = 0.0f;
  float m_InverseWidth = 1.0f, m_InverseDepth = 1.0f;
  float m_Drift = 0.0f;
  std::uint32_t m_IndexCount = 0;
  std::uint32_t m_CellCount = 0;
  std::uint32_t m_Columns = 4, m_Rows = 4;
  std::vector<DS_RippleCell> m_Cells;
};
