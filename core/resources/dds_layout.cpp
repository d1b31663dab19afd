#include "core/resources/dds_layout.h"

#include <utility>

namespace {

constexpr std::uint32_t kMagic = 0x20534444;  // "DDS "
constexpr std::size_t kFileHeaderBytes = 128;  // the magic and the 124-byte header

// Header flags.
constexpr std::uint32_t kHasPitch = 0x8, kHasMipCount = 0x20000, kHasDepth = 0x800000;
// Pixel-format flags.
constexpr std::uint32_t kBumpDuDv = 0x80000;
// Second caps word: cube maps and volumes.
constexpr std::uint32_t kCubeMap = 0x200, kVolume = 0x200000;

struct KnownFormat {
  DS_DdsFormat format;
  std::uint32_t bits, du, dv;
};
constexpr KnownFormat kKnown[] = {
    {DS_DdsFormat::V8U8, 16, 0x00FF, 0xFF00},
    {DS_DdsFormat::V16U16, 32, 0xFFFF, 0xFFFF0000u},
};

// The little-endian word `index` of the file.
std::uint32_t Word(const std::uint8_t* p, std::size_t index) {
  const std::uint8_t* b = p + 4 * index;
  return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
         static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

// Levels of a full chain for a w x h picture: until both sides are 1.
std::uint32_t FullChain(std::uint32_t w, std::uint32_t h) {
  std::uint32_t levels = 1;
  while (w > 1 || h > 1) {
    w = w > 1 ? w / 2 : 1;
    h = h > 1 ? h / 2 : 1;
    ++levels;
  }
  return levels;
}

}  // namespace

bool ParseDdsLayout(const void* bytes, std::size_t size, DS_DdsLayout& out) {
  if (!bytes || size < kFileHeaderBytes) return false;
  const auto* p = static_cast<const std::uint8_t*>(bytes);
  // Words of the file: 0 magic, 1 header size, 2 flags, 3 height, 4 width, 5 pitch, 6 depth,
  // 7 mip count, 19 pixel-format size, 20 its flags, 21 four-cc, 22 bits, 23-26 masks, 27-28 caps.
  if (Word(p, 0) != kMagic || Word(p, 1) != 124 || Word(p, 19) != 32) return false;
  const std::uint32_t flags = Word(p, 2), height = Word(p, 3), width = Word(p, 4);
  if (width == 0 || height == 0 || width > kDdsSizeLimit || height > kDdsSizeLimit) return false;
  if (((flags & kHasDepth) && Word(p, 6) > 1) || (Word(p, 28) & (kCubeMap | kVolume))) return false;
  // Bump formats only, with no other flag (a four-cc code, alpha or colour bits).
  if (Word(p, 20) != kBumpDuDv) return false;
  const KnownFormat* known = nullptr;
  for (const KnownFormat& k : kKnown)
    if (Word(p, 22) == k.bits && Word(p, 23) == k.du && Word(p, 24) == k.dv && Word(p, 25) == 0 && Word(p, 26) == 0)
      known = &k;
  if (!known) return false;
  const std::uint32_t texelBytes = known->bits / 8;
  if ((flags & kHasPitch) && Word(p, 5) != width * texelBytes) return false;
  std::uint32_t mips = (flags & kHasMipCount) ? Word(p, 7) : 1;
  if (mips == 0) mips = 1;  // writers store 0 for a single level
  if (mips > FullChain(width, height)) return false;

  DS_DdsLayout layout;
  layout.format = known->format;
  layout.width = width;
  layout.height = height;
  layout.bytesPerTexel = texelBytes;
  std::uint64_t offset = kFileHeaderBytes;
  std::uint32_t w = width, h = height;
  for (std::uint32_t i = 0; i < mips; ++i) {
    const std::uint64_t levelBytes = static_cast<std::uint64_t>(w) * h * texelBytes;
    if (levelBytes > size - offset) return false;
    layout.levels.push_back({static_cast<std::size_t>(offset), w, h, w * texelBytes});
    offset += levelBytes;
    w = w > 1 ? w / 2 : 1;
    h = h > 1 ? h / 2 : 1;
  }
  out = std::move(layout);
  return true;
}
