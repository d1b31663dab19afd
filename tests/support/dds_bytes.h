// Uncompressed DDS files for the tests, made field by field so that any field can be made to
// lie: the magic, the 124-byte header, its 32-byte pixel format, the caps, then the texels of
// every level. Platform-free: the host tests and the Windows tests use the same files.
#pragma once

#include <cstdint>
#include <vector>

struct TestDdsPixelFormat {
  std::uint32_t flags, bits, red, green, blue, alpha;
};

// The pixel formats as a writer of DDS files stores them.
namespace test_dds {
constexpr TestDdsPixelFormat kV8U8{0x80000, 16, 0x00FF, 0xFF00, 0, 0};          // bump du, dv
constexpr TestDdsPixelFormat kV16U16{0x80000, 32, 0xFFFF, 0xFFFF0000u, 0, 0};   // bump du, dv
constexpr TestDdsPixelFormat kL8{0x20000, 8, 0xFF, 0, 0, 0};                    // luminance
constexpr TestDdsPixelFormat kA8L8{0x20001, 16, 0x00FF, 0, 0, 0xFF00};          // luminance, alpha
constexpr TestDdsPixelFormat kA8{0x2, 8, 0, 0, 0, 0xFF};                        // alpha only
constexpr TestDdsPixelFormat kA8R8G8B8{0x41, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u};
}  // namespace test_dds

struct TestDds {
  std::uint32_t width = 4, height = 4;
  TestDdsPixelFormat format = test_dds::kV8U8;
  std::uint32_t mipCount = 1;        // written with its flag unless 1
  std::uint32_t magic = 0x20534444;  // "DDS "
  std::uint32_t headerSize = 124;
  std::uint32_t formatSize = 32;
  std::int64_t pitch = -1;    // -1: width x bytes per texel
  bool pitchFlag = true;      // whether the header says it gives the pitch
  std::uint32_t caps2 = 0;    // cube map and volume bits
  std::uint32_t fourCC = 0;
  std::uint8_t seed = 1;      // texel bytes are seed, seed + 1, ... (mod 256)
  std::int64_t texelBytes = -1;  // -1: exactly what the levels need

  std::uint32_t BytesPerTexel() const { return format.bits / 8; }

  // The bytes of all levels (at most 32), each half the size of the one before (at least 1).
  std::uint64_t LevelBytes() const {
    std::uint64_t total = 0;
    std::uint32_t w = width, h = height;
    for (std::uint32_t i = 0; i < (mipCount ? mipCount : 1) && i < 32; ++i) {
      total += static_cast<std::uint64_t>(w) * h * BytesPerTexel();
      w = w > 1 ? w / 2 : 1;
      h = h > 1 ? h / 2 : 1;
    }
    return total;
  }

  std::vector<std::uint8_t> Bytes() const {
    std::vector<std::uint8_t> out;
    auto put = [&out](std::uint32_t v) {
      for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    put(magic);
    put(headerSize);
    // Caps, height, width, pixel format; pitch and mip count when given.
    put(0x1 | 0x2 | 0x4 | 0x1000 | (pitchFlag ? 0x8u : 0u) | (mipCount != 1 ? 0x20000u : 0u));
    put(height);
    put(width);
    put(pitch >= 0 ? static_cast<std::uint32_t>(pitch) : width * BytesPerTexel());
    put(0);  // depth
    put(mipCount);
    for (int i = 0; i < 11; ++i) put(0);
    put(formatSize);
    put(format.flags | (fourCC ? 0x4u : 0u));
    put(fourCC);
    put(format.bits);
    put(format.red);
    put(format.green);
    put(format.blue);
    put(format.alpha);
    put(0x1000 | (mipCount > 1 ? 0x400008u : 0u));  // texture; complex and mip map with levels
    put(caps2);
    for (int i = 0; i < 3; ++i) put(0);
    const std::uint64_t n = texelBytes >= 0 ? static_cast<std::uint64_t>(texelBytes) : LevelBytes();
    for (std::uint64_t i = 0; i < n; ++i) out.push_back(static_cast<std::uint8_t>(seed + i));
    return out;
  }
};
