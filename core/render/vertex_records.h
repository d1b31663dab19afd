// The vertex records every quad, mesh and sprite batch is made of: packed 32-bit fields, floats
// IEEE single, a colour is an ARGB word (alpha in the top byte). Each record carries the
// flexible-vertex-format code and stride it is bound with. No Windows header: the layout maths
// that writes these records is tested on the host too.
#pragma once

#include <cstdint>

namespace DX_V {

// Picture-space position with one texture pair: picture quads, border quads, grid meshes.
struct PT {
  float x, y, z;
  float u, v;
  static constexpr std::uint32_t kFormat = 0x102;  // XYZ | TEX1
  static constexpr unsigned kStride = 20;
};

// Pre-transformed screen pixels, diffuse colour, one texture pair: screen quads, sprite batches.
struct TPCT {
  float x, y, z, rhw;
  std::uint32_t colour;
  float u, v;
  static constexpr std::uint32_t kFormat = 0x144;  // XYZRHW | DIFFUSE | TEX1
  static constexpr unsigned kStride = 28;
};

// Pre-transformed and coloured: fade overlays.
struct TPC {
  float x, y, z, rhw;
  std::uint32_t colour;
  static constexpr std::uint32_t kFormat = 0x44;  // XYZRHW | DIFFUSE
  static constexpr unsigned kStride = 20;
};

// Coloured picture-space quads (object bounds).
struct PC {
  float x, y, z;
  std::uint32_t colour;
  static constexpr std::uint32_t kFormat = 0x42;  // XYZ | DIFFUSE
  static constexpr unsigned kStride = 16;
};

// Coloured and textured: particle geometry.
struct PCT {
  float x, y, z;
  std::uint32_t colour;
  float u, v;
  static constexpr std::uint32_t kFormat = 0x142;  // XYZ | DIFFUSE | TEX1
  static constexpr unsigned kStride = 24;
};

// Position, normal, texture pair: meshes loaded from X files.
struct PNT {
  float x, y, z;
  float nx, ny, nz;
  float u, v;
  static constexpr std::uint32_t kFormat = 0x112;  // XYZ | NORMAL | TEX1
  static constexpr unsigned kStride = 32;
};

// Position, normal, colour, texture pair: the ripple surface.
struct PNCT {
  float x, y, z;
  float nx, ny, nz;
  std::uint32_t colour;
  float u, v;
  static constexpr std::uint32_t kFormat = 0x152;  // XYZ | NORMAL | DIFFUSE | TEX1
  static constexpr unsigned kStride = 36;
};

// Position with two texture pairs: bump-mapped quads (set 0 the bump map, set 1 the picture).
struct PT2 {
  float x, y, z;
  float u0, v0;
  float u1, v1;
  static constexpr std::uint32_t kFormat = 0x202;  // XYZ | TEX2
  static constexpr unsigned kStride = 28;
};

static_assert(sizeof(PT) == PT::kStride, "packed record");
static_assert(sizeof(PT2) == PT2::kStride, "packed record");
static_assert(sizeof(TPCT) == TPCT::kStride, "packed record");
static_assert(sizeof(TPC) == TPC::kStride, "packed record");
static_assert(sizeof(PC) == PC::kStride, "packed record");
static_assert(sizeof(PCT) == PCT::kStride, "packed record");
static_assert(sizeof(PNT) == PNT::kStride, "packed record");
static_assert(sizeof(PNCT) == PNCT::kStride, "packed record");

}  // namespace DX_V
