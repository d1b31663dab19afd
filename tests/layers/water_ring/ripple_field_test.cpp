// The ripple simulation without a device: grid sizes and their limits, drops, the averaging steps
// (rings spread, energy decays with the damping, the mean stays level), the strip order of the
// vertices, the refraction table and the vertices made from the heights.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <set>
#include <vector>

#include "layers/water_ring/ripple_field.h"
#include "layers/water_ring/water_ring_values.h"

namespace {

// The heights' square sum about the level the last step left (every cell is lowered by the drift).
double Energy(const DS_RippleField& field) {
  double sum = 0.0;
  for (const DS_RippleCell& cell : field.Cells()) {
    const double h = double(cell.height) + field.Drift();
    sum += h * h;
  }
  return sum;
}

double MeanHeight(const DS_RippleField& field) {
  double sum = 0.0;
  for (const DS_RippleCell& cell : field.Cells()) sum += cell.height;
  return sum / field.CellCount();
}

// A drop of strength 1 at (row, column), as Drop makes it at a random cell.
void DropAt(DS_RippleField& field, std::uint32_t row, std::uint32_t column) {
  field.dropStrength = 1.0f;
  field.DropAt(row, column);
}

// The distance from (row, column) of the farthest cell that rises or falls by more than a tenth of
// the highest wave.
double Reach(const DS_RippleField& field, std::uint32_t row, std::uint32_t column) {
  double highest = 0.0, reach = 0.0;
  for (const DS_RippleCell& cell : field.Cells()) highest = std::max(highest, std::fabs(double(cell.height) + field.Drift()));
  for (std::uint32_t r = 0; r < field.Rows(); ++r)
    for (std::uint32_t c = 0; c < field.Columns(); ++c)
      if (std::fabs(double(field.Cell(r, c).height) + field.Drift()) > 0.1 * highest)
        reach = std::max(reach, std::hypot(double(r) - row, double(c) - column));
  return reach;
}

TEST(RippleField, GridSizes) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    float width, depth, rowFactor, columnFactor;
    std::uint32_t columns, rows;
  } cases[] = {
      {40, 30, 1, 1, 128, 96},          // a 4:3 picture with the default values
      {30, 30, 1, 3, 170, 384},         // 384 x 384 passes the limit: 65536 / 384 columns
      {30, 30, 1.5f, 1, 128, 192},      // denser rows
      {30, 30, 1, 0.04f, 4, 4},         // columns0 = 5 gives 4 columns and 4 rows (from 5)
      {30, 30, 1, 0.0f, 0, 0},          // no columns
      {30, 30, 1, nan, 0, 0},           // a NaN factor
      {30, 30, nan, 1, 0, 0},           // a NaN row factor
      {30, 0, 1, 1, 0, 0},              // no depth
      {0, 30, 1, 1, 0, 0},              // no width: infinitely many rows leave no column
      {30 * 50, 30, 1, 1, 128, 2},      // 1:50 keeps two rows, too few for drops
      {30 * 70, 30, 1, 1, 0, 0},        // 1:70 leaves no row
      {30, 30, 1, 1e30f, 0, 0},         // a huge factor: rows beyond the limit, no column
      {30, 30, 1e-3f, 100, 5460, 12},   // a huge column count on few rows: capped
      {30, 30, -1, 1, 0, 0},            // a negative factor
  };
  for (const Case& k : cases) {
    DS_RippleField field;
    field.Size(k.width, k.depth, k.rowFactor, k.columnFactor);
    SCOPED_TRACE(testing::Message() << k.width << " x " << k.depth << " factors " << k.rowFactor << ", "
                                    << k.columnFactor);
    EXPECT_EQ(field.Columns(), k.columns);
    EXPECT_EQ(field.Rows(), k.rows);
    EXPECT_EQ(field.CellCount(), field.Columns() * field.Rows());
    EXPECT_LE(field.CellCount(), DS_RippleField::kMaxCells);
    EXPECT_EQ(field.IndexCount(), field.CellCount() * 2);
    EXPECT_EQ(field.Cells().size(), field.CellCount());
    // Every grid, empty ones too, steps and takes drops without leaving its cells.
    field.Drop();
    field.Simulate();
    std::vector<DX_V::PNCT> vertices(field.CellCount() + 1);
    const float eye[3] = {0, 120, 0};
    field.WriteVertices(vertices.data(), eye);
  }
}

TEST(RippleField, DropsOnlyOnInnerCells) {
  // 4 x 4 has a 2 x 2 inside; 2 x 2 (and 2 x 4) has none and takes no drop at all.
  for (float factor : {0.04f, 0.02f}) {
    DS_RippleField field;
    field.Size(30, 30, 1, factor);
    std::srand(7);
    for (int i = 0; i < 200; ++i) field.Drop();
    // A drop placed on a border cell or outside the grid falls nowhere.
    const std::uint32_t placed[][2] = {{0, 1}, {1, 0}, {field.Rows() - 1, 1}, {1, field.Columns() - 1}, {1000, 1000}};
    for (const auto& at : placed) field.DropAt(at[0], at[1]);
    double sum = 0.0;
    for (std::uint32_t r = 0; r < field.Rows(); ++r)
      for (std::uint32_t c = 0; c < field.Columns(); ++c) sum += field.Cell(r, c).velocity;
    if (field.Columns() < 3) {
      EXPECT_EQ(sum, 0.0);
    } else {
      // Each drop moves the velocities by 0.25 + 4 x 0.125 + 4 x 0.0625 = 1 strength in all.
      EXPECT_NEAR(sum, -200 * 0.5, 1e-3);
    }
  }
}

TEST(RippleField, StillWaterStaysStill) {
  DS_RippleField field;
  field.Size(40, 30, 1, 1);
  field.Simulate();
  for (const DS_RippleCell& cell : field.Cells()) {
    EXPECT_EQ(cell.height, 0.0f);
    EXPECT_EQ(cell.velocity, 0.0f);
  }
}

TEST(RippleField, DropSpreadsAsRings) {
  DS_RippleField field;
  field.Size(40, 30, 1, 1);
  const std::uint32_t row = 48, column = 64;
  DropAt(field, row, column);
  double reach[3];
  for (int i = 0; i < 12; ++i) {
    field.Simulate();
    if (i == 1 || i == 5 || i == 11) reach[i / 5] = Reach(field, row, column);
  }
  EXPECT_GE(reach[0], 2.0);
  EXPECT_GT(reach[1], reach[0] + 3.0);
  EXPECT_GT(reach[2], reach[1] + 5.0);
  EXPECT_LT(reach[2], 20.0);  // about a cell per step, still far from the edges
  // Rings: the heights at the same distance along the four axes and the diagonals agree (the
  // averaging reads the heights of the sub-step before, so the pattern keeps its symmetry).
  for (std::uint32_t k = 1; k < 12; ++k) {
    const float east = field.Cell(row, column + k).height;
    EXPECT_NEAR(field.Cell(row, column - k).height, east, 1e-5f) << k;
    EXPECT_NEAR(field.Cell(row + k, column).height, east, 1e-5f) << k;
    EXPECT_NEAR(field.Cell(row - k, column).height, east, 1e-5f) << k;
    EXPECT_NEAR(field.Cell(row + k, column + k).height, field.Cell(row - k, column - k).height, 1e-5f) << k;
  }
  // A ring, not a bump: the deepest point along a ray lies well away from the drop, deeper than
  // the water at the drop itself.
  std::uint32_t deepest = 0;
  for (std::uint32_t k = 1; k < 30; ++k)
    if (field.Cell(row, column + k).height < field.Cell(row, column + deepest).height) deepest = k;
  EXPECT_GE(deepest, 8u);
  EXPECT_LT(field.Cell(row, column + deepest).height, 2 * field.Cell(row, column).height + field.Drift());
}

TEST(RippleField, EnergyDecaysWithTheDamping) {
  const float dampings[] = {0.9f, 0.97f, 0.99f, water_ring::kMaxDamping};
  double peak[4] = {}, last[4] = {};
  for (int i = 0; i < 4; ++i) {
    DS_RippleField field;
    field.Size(40, 30, 1, 1);
    field.damping = dampings[i];
    DropAt(field, 48, 64);
    for (int s = 0; s < 80; ++s) {
      field.Simulate();
      peak[i] = std::max(peak[i], Energy(field));
    }
    last[i] = Energy(field);
    SCOPED_TRACE(dampings[i]);
    EXPECT_GT(last[i], 0.0);
    if (i < 3) EXPECT_LT(last[i], 0.1 * peak[i]);
    if (i > 0) EXPECT_GT(peak[i], 1.3 * peak[i - 1]);  // the more it keeps, the higher the waves
  }
  // The highest damping keeps its waves, far above what the lower ones leave.
  EXPECT_GT(last[3], 0.3 * peak[3]);
  EXPECT_GT(last[3], 10 * std::max({last[0], last[1], last[2]}));
}

TEST(RippleField, MeanStaysLevelAndBordersHoldTheDrift) {
  DS_RippleField field;
  field.Size(40, 30, 1, 1);
  DropAt(field, 20, 30);
  field.Simulate();
  EXPECT_NEAR(MeanHeight(field), 0.0, 1e-6);
  const float drift = field.Drift();
  EXPECT_NE(drift, 0.0f);
  for (std::uint32_t c = 0; c < field.Columns(); ++c) {
    EXPECT_EQ(field.Cell(0, c).height, -drift);
    EXPECT_EQ(field.Cell(field.Rows() - 1, c).height, -drift);
  }
  for (std::uint32_t r = 0; r < field.Rows(); ++r) {
    EXPECT_EQ(field.Cell(r, 0).height, -drift);
    EXPECT_EQ(field.Cell(r, field.Columns() - 1).height, -drift);
  }
}

TEST(RippleField, RunawayWaterIsCalmed) {
  DS_RippleField field;
  field.Size(40, 30, 1, 1);
  field.waveGain = water_ring::WaveGain(4000000000u);
  field.damping = 1.2f;
  DropAt(field, 48, 64);
  std::vector<DX_V::PNCT> vertices(field.CellCount());
  const float eye[3] = {0, 120, 0};
  for (int i = 0; i < 40; ++i) {
    field.Simulate();
    field.WriteVertices(vertices.data(), eye);
    for (const DS_RippleCell& cell : field.Cells()) ASSERT_TRUE(std::isfinite(cell.height)) << i;
  }
}

TEST(RippleField, DampingFromTheStoredValue) {
  struct Case {
    std::uint32_t value;
    float damping;
  } cases[] = {{0, 0.9f}, {49, 0.9882f}, {50, 0.99f}, {100, 0.999f}, {105, 0.9999f},
               {106, water_ring::kMaxDamping}, {1000, water_ring::kMaxDamping},
               {4294967295u, water_ring::kMaxDamping}};
  for (const Case& k : cases) EXPECT_NEAR(water_ring::Damping(k.value), k.damping, 1e-6f) << k.value;
  EXPECT_FLOAT_EQ(water_ring::DropStrength(50), 0.45f);
  EXPECT_FLOAT_EQ(water_ring::DepthFactor(20), 0.2f);
}

// Row and column of vertex i of a K-column grid.
struct At {
  int r, c;
};
At Where(std::uint16_t i, std::uint32_t K) { return {int(i / K), int(i % K)}; }

TEST(RippleField, SpiralStripCoversTheGrid) {
  const std::pair<float, float> grids[] = {{0.04f, 1}, {0.05f, 1.5f}, {0.04f, 2}, {1, 0.75f}, {3, 1}, {0.5f, 0.25f}};
  for (const auto& [columnFactor, aspect] : grids) {
    DS_RippleField field;
    field.Size(30, 30 * aspect, 1, columnFactor);
    const std::uint32_t K = field.Columns(), n = field.IndexCount();
    SCOPED_TRACE(testing::Message() << K << " x " << field.Rows());
    ASSERT_GT(n, 0u);
    std::vector<std::uint16_t> indices(n + 8, 0xBEEF);
    EXPECT_EQ(field.WriteSpiral(indices.data()), n);
    for (std::uint32_t i = n; i < n + 8; ++i) ASSERT_EQ(indices[i], 0xBEEF);  // nothing past the end
    std::set<std::uint16_t> seen(indices.begin(), indices.begin() + n);
    EXPECT_EQ(seen.size(), field.CellCount());  // every vertex, none outside the grid
    EXPECT_LT(*seen.rbegin(), field.CellCount());
    // The outer ring first: the top band left to right over rows 0 and 1.
    for (std::uint32_t c = 0; c < K; ++c) {
      EXPECT_EQ(indices[2 * c], c);
      EXPECT_EQ(indices[2 * c + 1], K + c);
    }
    // Every triangle of the strip joins neighbouring vertices of one cell square.
    for (std::uint32_t i = 0; i + 2 < n; ++i) {
      const At a = Where(indices[i], K), b = Where(indices[i + 1], K), c = Where(indices[i + 2], K);
      const int rows = std::max({a.r, b.r, c.r}) - std::min({a.r, b.r, c.r});
      const int cols = std::max({a.c, b.c, c.c}) - std::min({a.c, b.c, c.c});
      ASSERT_LE(rows, 1) << i;
      ASSERT_LE(cols, 1) << i;
    }
  }
}

TEST(RippleField, RefractionTable) {
  const DS_RefractionEntry* table = DS_RippleField::RefractionTable();
  EXPECT_EQ(table, DS_RippleField::RefractionTable());  // one table for the process
  EXPECT_EQ(table[255].colour, 0u);
  EXPECT_EQ(table[0].colour, 0xFD000000u);  // 255^3 = 0xFD02FF: its bits 16-23 as alpha
  EXPECT_EQ(table[128].colour, 0x1F000000u);  // 127^3 = 0x1F7A3F
  for (int i : {0, 64, 128, 200, 255}) {
    const double a0 = i / 256.0, sinI = std::sqrt(1 - a0 * a0), sinT = sinI / 1.333;
    EXPECT_NEAR(table[i].a, sinI / sinT * std::sqrt(1 - sinT * sinT) - a0, 1e-4) << i;
    EXPECT_NEAR(table[i].b, -1 / 1.333, 1e-5) << i;
  }
  const float inf = std::numeric_limits<float>::infinity();
  const std::pair<float, std::size_t> indices[] = {{1.0f, 255}, {0.0f, 0}, {0.5f, 128}, {0.4f, 102},
                                                   {-0.5f, 0}, {2.0f, 255}, {inf, 255}, {-inf, 0},
                                                   {std::numeric_limits<float>::quiet_NaN(), 255}};
  for (const auto& [cosine, index] : indices) EXPECT_EQ(DS_RippleField::TableIndex(cosine), index) << cosine;
}

TEST(RippleField, VerticesFollowTheHeights) {
  DS_RippleField field;
  field.Size(40, 30, 1, 1);
  const float eye[3] = {0, 120, 0};
  std::vector<DX_V::PNCT> flat(field.CellCount()), rippled(field.CellCount());
  field.WriteVertices(flat.data(), eye);
  const std::uint32_t K = field.Columns(), R = field.Rows();
  EXPECT_FLOAT_EQ(flat[0].x, -20.0f);
  EXPECT_FLOAT_EQ(flat[0].z, -15.0f);
  EXPECT_FLOAT_EQ(flat[K * R - 1].x, 20.0f);
  EXPECT_FLOAT_EQ(flat[K * R - 1].z, 15.0f);
  for (std::uint32_t i = 0; i < K * R; ++i) {
    ASSERT_EQ(flat[i].ny, 1.0f);
    ASSERT_EQ(flat[i].y, 0.0f);
    ASSERT_GE(flat[i].u, -0.01f);
    ASSERT_LE(flat[i].u, 1.01f);
    if (i % K) ASSERT_GT(flat[i].u, flat[i - 1].u);  // the picture runs left to right,
    if (i >= K) ASSERT_GT(flat[i].v, flat[i - K].v);  // and along z
  }
  // Water seen from straight above refracts nothing sideways at the centre.
  EXPECT_NEAR(flat[(R / 2) * K + K / 2].u, 0.5f, 0.02f);
  DropAt(field, 48, 64);
  for (int i = 0; i < 3; ++i) field.Simulate();
  field.WriteVertices(rippled.data(), eye);
  int moved = 0;
  for (std::uint32_t i = 0; i < K * R; ++i) {
    EXPECT_EQ(rippled[i].y, field.Cells()[i].height);
    if (std::fabs(rippled[i].u - flat[i].u) > 1e-4f || std::fabs(rippled[i].v - flat[i].v) > 1e-4f) ++moved;
  }
  EXPECT_GT(moved, 20);  // the rings shift the picture under them
}

}  // namespace
