// The layout of an uncompressed DDS file of a bump format (V8U8, V16U16): the formats that the
// device takes as textures while this D3DX reads such a file's header but makes no texture of it.
// The picture decoders read these files themselves; everything here is checked against the bytes
// given, so a short or lying file has no layout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The Direct3D format codes of the formats read here.
enum class DS_DdsFormat : std::uint32_t { V8U8 = 60, V16U16 = 64 };

struct DS_DdsLevel {
  std::size_t offset;  // of the level's first texel in the file
  std::uint32_t width, height;
  std::uint32_t rowBytes;  // rows are packed: width x bytes per texel
};

struct DS_DdsLayout {
  DS_DdsFormat format = DS_DdsFormat::V8U8;
  std::uint32_t width = 0, height = 0;
  std::uint32_t bytesPerTexel = 0;
  std::vector<DS_DdsLevel> levels;  // level 0 first, each half the size of the one before
};

// Sizes above this are refused (no device takes larger textures).
constexpr std::uint32_t kDdsSizeLimit = 16384;

// The layout of `size` bytes: a plain two-dimensional texture (no cube map, volume or four-cc
// code) of one of the formats above, with a pitch (when the header gives one) of exactly one
// packed row, a mip count from 1 to the full chain, and every level's texels within the bytes.
// False, `out` unchanged, for anything else.
bool ParseDdsLayout(const void* bytes, std::size_t size, DS_DdsLayout& out);
