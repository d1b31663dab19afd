// The bump-format DDS reader's header checks: the files it takes, with their level layout, and
// every short or lying file it refuses (host, sanitizers; and under Wine).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/resources/dds_layout.h"
#include "tests/support/dds_bytes.h"

namespace {

TEST(DdsLayout, BumpFilesGiveTheirFormatSizeAndLevels) {
  struct Case {
    const char* name;
    TestDds dds;
    DS_DdsFormat format;
    std::vector<DS_DdsLevel> levels;
  };
  TestDds v16;
  v16.format = test_dds::kV16U16;
  v16.width = 8;
  v16.height = 2;
  TestDds chain;
  chain.width = 8;
  chain.height = 4;
  chain.mipCount = 4;  // 8 x 4, 4 x 2, 2 x 1, 1 x 1
  TestDds zeroMips;    // a single level written with a count of 0
  zeroMips.mipCount = 0;
  TestDds noPitch;  // the pitch field is read only when its flag is set
  noPitch.pitchFlag = false;
  noPitch.pitch = 999;
  TestDds trailing;  // bytes after the last level are not looked at
  trailing.texelBytes = static_cast<std::int64_t>(trailing.LevelBytes()) + 5;
  const Case cases[] = {
      {"V8U8 4 x 4", TestDds{}, DS_DdsFormat::V8U8, {{128, 4, 4, 8}}},
      {"V16U16 8 x 2", v16, DS_DdsFormat::V16U16, {{128, 8, 2, 32}}},
      {"full chain", chain, DS_DdsFormat::V8U8, {{128, 8, 4, 16}, {192, 4, 2, 8}, {208, 2, 1, 4}, {212, 1, 1, 2}}},
      {"mip count 0", zeroMips, DS_DdsFormat::V8U8, {{128, 4, 4, 8}}},
      {"trailing bytes", trailing, DS_DdsFormat::V8U8, {{128, 4, 4, 8}}},
      {"pitch without its flag", noPitch, DS_DdsFormat::V8U8, {{128, 4, 4, 8}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<std::uint8_t> bytes = c.dds.Bytes();
    DS_DdsLayout layout;
    ASSERT_TRUE(ParseDdsLayout(bytes.data(), bytes.size(), layout));
    EXPECT_EQ(layout.format, c.format);
    EXPECT_EQ(layout.width, c.dds.width);
    EXPECT_EQ(layout.height, c.dds.height);
    EXPECT_EQ(layout.bytesPerTexel, c.dds.BytesPerTexel());
    ASSERT_EQ(layout.levels.size(), c.levels.size());
    for (size_t i = 0; i < c.levels.size(); ++i) {
      EXPECT_EQ(layout.levels[i].offset, c.levels[i].offset) << i;
      EXPECT_EQ(layout.levels[i].width, c.levels[i].width) << i;
      EXPECT_EQ(layout.levels[i].height, c.levels[i].height) << i;
      EXPECT_EQ(layout.levels[i].rowBytes, c.levels[i].rowBytes) << i;
    }
  }
}

TEST(DdsLayout, ShortAndLyingFilesHaveNoLayout) {
  using Change = std::function<void(TestDds&)>;
  struct Case {
    const char* name;
    Change change;
  };
  const Case cases[] = {
      {"one texel short", [](TestDds& d) { d.texelBytes = static_cast<std::int64_t>(d.LevelBytes()) - 1; }},
      {"no texels", [](TestDds& d) { d.texelBytes = 0; }},
      {"last level short", [](TestDds& d) {
         d.width = d.height = 8;
         d.mipCount = 4;
         d.texelBytes = static_cast<std::int64_t>(d.LevelBytes()) - 1;
       }},
      {"mip count past the full chain", [](TestDds& d) {
         d.mipCount = 4;  // a 4 x 4 picture has 3 levels
         d.texelBytes = 1000;
       }},
      {"huge mip count", [](TestDds& d) {
         d.mipCount = 0xFFFFFFFFu;
         d.texelBytes = 64;
       }},
      {"pitch of two rows", [](TestDds& d) { d.pitch = 16; }},
      {"pitch of half a row", [](TestDds& d) { d.pitch = 4; }},
      {"width 0", [](TestDds& d) { d.width = 0; }},
      {"height 0", [](TestDds& d) { d.height = 0; }},
      {"width beyond any device", [](TestDds& d) {
         d.width = kDdsSizeLimit * 2;
         d.height = 1;
         d.texelBytes = static_cast<std::int64_t>(d.LevelBytes());
       }},
      {"size that overflows 32 bits", [](TestDds& d) {
         d.width = d.height = 0x10000;
         d.texelBytes = 16;
       }},
      {"wrong magic", [](TestDds& d) { d.magic = 0x20534443; }},
      {"header size 128", [](TestDds& d) { d.headerSize = 128; }},
      {"pixel-format size 0", [](TestDds& d) { d.formatSize = 0; }},
      {"cube map", [](TestDds& d) { d.caps2 = 0x200 | 0xFC00; }},
      {"volume", [](TestDds& d) { d.caps2 = 0x200000; }},
      {"four-cc code", [](TestDds& d) { d.fourCC = 0x31545844; }},  // "DXT1"
      {"V8U8 with alpha bits", [](TestDds& d) { d.format.flags |= 0x1; }},
      {"bump masks swapped", [](TestDds& d) { d.format = {0x80000, 16, 0xFF00, 0x00FF, 0, 0}; }},
      {"bump with luminance mask", [](TestDds& d) { d.format.blue = 0xFF; }},
      {"24-bit bump", [](TestDds& d) { d.format = {0x80000, 24, 0xFF, 0xFF00, 0xFF0000, 0}; }},
      {"L8, which D3DX reads", [](TestDds& d) { d.format = test_dds::kL8; }},
      {"A8L8", [](TestDds& d) { d.format = test_dds::kA8L8; }},
      {"A8", [](TestDds& d) { d.format = test_dds::kA8; }},
      {"A8R8G8B8", [](TestDds& d) { d.format = test_dds::kA8R8G8B8; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestDds dds;
    c.change(dds);
    const std::vector<std::uint8_t> bytes = dds.Bytes();
    DS_DdsLayout layout;
    layout.width = 77;
    EXPECT_FALSE(ParseDdsLayout(bytes.data(), bytes.size(), layout));
    EXPECT_EQ(layout.width, 77u) << "unchanged";
    EXPECT_TRUE(layout.levels.empty());
  }
}

TEST(DdsLayout, EveryPrefixOfAGoodFileIsRefused) {
  TestDds dds;
  dds.width = dds.height = 4;
  dds.mipCount = 3;
  const std::vector<std::uint8_t> bytes = dds.Bytes();
  DS_DdsLayout layout;
  ASSERT_TRUE(ParseDdsLayout(bytes.data(), bytes.size(), layout));
  for (size_t n = 0; n < bytes.size(); ++n) {
    // Each prefix in a buffer of its own size, so that the sanitizers see any read beyond it.
    const std::vector<std::uint8_t> prefix(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
    EXPECT_FALSE(ParseDdsLayout(prefix.data(), prefix.size(), layout)) << n;
  }
  EXPECT_FALSE(ParseDdsLayout(nullptr, 128, layout));
}

}  // namespace
