#include "layers/water_ring/ripple_field.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// A float count truncated toward zero: NaN and negatives give 0, huge values a bound far above
// any grid the limit lets through.
std::uint64_t TruncatedCount(float value) {
  if (!(value > 0.0f)) return 0;
  if (value >= 4294967296.0f) return 0xFFFFFFFFull;
  return static_cast<std::uint64_t>(value);
}

std::uint64_t Even(std::uint64_t n) { return n & ~std::uint64_t{1}; }

struct Vec3 {
  float x, y, z;
};
Vec3 operator+(Vec3 p, Vec3 q) { return {p.x + q.x, p.y + q.y, p.z + q.z}; }
Vec3 operator*(float s, Vec3 p) { return {s * p.x, s * p.y, s * p.z}; }
float Dot(Vec3 p, Vec3 q) { return p.x * q.x + p.y * q.y + p.z * q.z; }
Vec3 Normalised(Vec3 p) {
  const float length = std::sqrt(Dot(p, p));
  return length > 0.0f ? (1.0f / length) * p : p;
}

}  // namespace

void DS_RippleField::Size(float width, float depth, float rowFactor, float columnFactor) {
  const std::uint64_t columns0 = TruncatedCount(columnFactor * 128.0f);
  std::uint64_t columns = Even(columns0);
  const std::uint64_t rows = Even(TruncatedCount(static_cast<float>(columns0) * (depth / width) * rowFactor));
  std::uint64_t cells = columns * rows;
  if (cells > kMaxCells) {
    columns = Even(kMaxCells / rows);
    cells = columns * rows;
  }
  // An empty grid keeps no stray count along one axis.
  if (cells == 0) columns = 0;
  m_Columns = static_cast<std::uint32_t>(columns);
  m_Rows = cells == 0 ? 0 : static_cast<std::uint32_t>(rows);
  m_Width = width;
  m_Depth = depth;
  m_InverseWidth = 1.0f / width;
  m_InverseDepth = 1.0f / depth;
  m_CellCount = static_cast<std::uint32_t>(cells);
  m_IndexCount = m_CellCount * 2;
  m_Drift = 0.0f;
  m_Cells.assign(m_CellCount, DS_RippleCell{});
}

void DS_RippleField::Drop() {
  if (m_Columns < 3 || m_Rows < 3) return;
  const std::uint32_t column = static_cast<std::uint32_t>(std::rand()) % (m_Columns - 2) + 1;
  const std::uint32_t row = static_cast<std::uint32_t>(std::rand()) % (m_Rows - 2) + 1;
  DropAt(row, column);
}

void DS_RippleField::DropAt(std::uint32_t row, std::uint32_t column) {
  if (row < 1 || column < 1 || row + 1 >= m_Rows || column + 1 >= m_Columns) return;
  const float s = dropStrength;
  for (std::uint32_t r = row - 1; r <= row + 1; ++r) {
    for (std::uint32_t c = column - 1; c <= column + 1; ++c) {
      const int edges = (r != row) + (c != column);  // 0 the centre, 1 an edge, 2 a corner neighbour
      const float share = edges == 0 ? 0.25f : edges == 1 ? 0.125f : 0.0625f;
      Cell(r, c).velocity -= share * s;
    }
  }
}

void DS_RippleField::SubStep() {
  const std::uint32_t K = m_Columns, R = m_Rows;
  if (m_CellCount == 0) return;
  float driftSum = 0.0f;
  // Velocities in place, row by row: a cell next to the last row or column still sees that
  // border's height from the sub-step before, as the border is zeroed only when it is visited.
  for (std::uint32_t r = 0; r < R; ++r) {
    for (std::uint32_t c = 0; c < K; ++c) {
      DS_RippleCell& cell = m_Cells[r * K + c];
      if (r == 0 || c == 0 || r == R - 1 || c == K - 1) {
        cell.height = 0.0f;
        cell.velocity = 0.0f;
      } else {
        const DS_RippleCell* above = &m_Cells[(r - 1) * K + c];
        const DS_RippleCell* below = &m_Cells[(r + 1) * K + c];
        const float edges = above->height + below->height + m_Cells[r * K + c - 1].height +
                            m_Cells[r * K + c + 1].height;
        const float corners = above[-1].height + above[1].height + below[-1].height + below[1].height;
        const float average = edges * 0.16666667f + corners * 0.083333336f;
        cell.velocity = (average - cell.height) * 0.25f + cell.velocity * damping;
      }
      driftSum += cell.velocity + cell.height;
    }
  }
  m_Drift = driftSum / static_cast<float>(m_CellCount);
  for (DS_RippleCell& cell : m_Cells) cell.height = cell.height + cell.velocity * waveGain - m_Drift;
}

void DS_RippleField::Simulate() {
  for (int i = 0; i < kSubSteps; ++i) SubStep();
  // Past the scheme's stability the heights overflow within seconds; still water is the one
  // state the next drops can start from again.
  if (!std::isfinite(m_Drift)) {
    m_Cells.assign(m_CellCount, DS_RippleCell{});
    m_Drift = 0.0f;
  }
}

const DS_RefractionEntry* DS_RippleField::RefractionTable() {
  struct Table {
    DS_RefractionEntry entries[kTableSize];
    Table() {
      for (int i = 0; i < kTableSize; ++i) {
        const float a0 = static_cast<float>(i) / 256.0f;
        const float sinI = std::sin(std::acos(a0));
        const float sinT = sinI / 1.333f;
        const float cosT = std::cos(std::asin(sinT));
        entries[i].a = (sinI / sinT) * cosT - a0;
        entries[i].b = -sinT / sinI;
        const std::uint32_t cube = static_cast<std::uint32_t>((255 - i) * (255 - i) * (255 - i));
        entries[i].colour = (cube & 0xFFFF0000u) << 8;
      }
    }
  };
  static const Table table;
  return table.entries;
}

std::size_t DS_RippleField::TableIndex(float cosine) {
  const float scaled = cosine * 255.0f;
  if (!(scaled >= 0.0f)) return std::isnan(scaled) ? kTableSize - 1 : 0;
  if (scaled >= static_cast<float>(kTableSize - 1)) return kTableSize - 1;
  return static_cast<std::size_t>(std::lround(scaled));
}

void DS_RippleField::WriteVertices(DX_V::PNCT* out, const float (&eye)[3]) const {
  const std::uint32_t K = m_Columns, R = m_Rows;
  if (m_CellCount == 0) return;
  const DS_RefractionEntry* table = RefractionTable();
  const float stepX = m_Width / static_cast<float>(K - 1), stepZ = m_Depth / static_cast<float>(R - 1);
  const float g = 1.0f - depthFactor * 0.05f;
  const auto height = [&](std::uint32_t r, std::uint32_t c) { return m_Cells[r * K + c].height; };
  for (std::uint32_t r = 0; r < R; ++r) {
    const std::uint32_t up = (r + R - 1) % R, down = (r + 1) % R;
    const float z = -m_Depth * 0.5f + stepZ * static_cast<float>(r);
    for (std::uint32_t c = 0; c < K; ++c) {
      const std::uint32_t left = (c + K - 1) % K, right = (c + 1) % K;
      const float x = -m_Width * 0.5f + stepX * static_cast<float>(c);
      const float h = height(r, c);
      const float leftSum = height(up, left) + height(r, left) + height(down, left);
      const float rightSum = height(up, right) + height(r, right) + height(down, right);
      const float upSum = height(up, left) + height(up, c) + height(up, right);
      const float downSum = height(down, left) + height(down, c) + height(down, right);
      const Vec3 n = Normalised({leftSum - rightSum, 1.0f, upSum - downSum});
      const Vec3 view = Normalised({eye[0] - x, eye[1] - h, eye[2] - z});
      const DS_RefractionEntry& entry = table[TableIndex(Dot(view, n))];
      // The refracted ray from the surface point leaves a sphere of radius 35 about the origin,
      // 20 units below: its exit point moves the texture coordinates.
      const Vec3 ray = entry.b * (entry.a * n + view);
      const Vec3 q = {x, h - 20.0f, z};
      const float b = Dot(ray, q);
      const float discriminant = std::max(0.0f, (2.0f * b) * (2.0f * b) - 4.0f * (Dot(q, q) - 1225.0f));
      const float t = (std::sqrt(discriminant) - 2.0f * b) * 0.5f;
      const float depthT = t * depthFactor;
      DX_V::PNCT& v = out[r * K + c];
      v.x = x;
      v.y = h;
      v.z = z;
      v.nx = n.x;
      v.ny = n.y;
      v.nz = n.z;
      v.colour = entry.colour;
      v.u = g * (x + depthT * ray.x) * m_InverseWidth + 0.5f;
      v.v = g * (z + depthT * ray.z) * m_InverseDepth + 0.5f;
    }
  }
}

std::uint32_t DS_RippleField::WriteSpiral(std::uint16_t* out) const {
  const std::uint32_t total = m_IndexCount;
  const int K = static_cast<int>(m_Columns);
  std::uint32_t count = 0;
  // The count is checked before every pair, so an odd or degenerate grid never writes past the
  // buffer. Indices are 16-bit, as the buffer holds them.
  const auto pair = [&](int first, int second) {
    if (count + 2 > total) return;
    const auto index = [&](int i) {
      const std::uint16_t value = static_cast<std::uint16_t>(i);
      return value < m_CellCount ? value : std::uint16_t{0};
    };
    out[count++] = index(first);
    out[count++] = index(second);
  };
  int c = 0, d = 0, n = K, m = static_cast<int>(m_Rows);
  while (count < total) {
    const std::uint32_t before = count;
    for (int i = 0; i < n; ++i, ++c) pair(K * d + c, K * (d + 1) + c);  // top band, rightwards
    --c;
    ++d;
    for (int i = 0; i < m - 1; ++i, ++d) pair(K * d + c, K * d + c - 1);  // right band, down
    --d;
    --c;
    for (int i = 0; i < n - 1; ++i, --c) pair(K * d + c, K * (d - 1) + c);  // bottom band, leftwards
    ++c;
    --d;
    for (int i = 0; i < m - 2; ++i, --d) pair(K * d + c, K * d + c + 1);  // left band, up
    m -= 2;
    n -= 2;
    ++d;
    ++c;
    if (count == before) break;  // no ring left to write: an odd grid ends short
  }
  for (std::uint32_t i = count; i < total; ++i) out[i] = 0;
  return count;
}
