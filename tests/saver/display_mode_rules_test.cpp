// The device-free rules of the mode and device choice, over tables of modes.
#include <gtest/gtest.h>

#include <vector>

#include "saver/display_mode_rules.h"
#include "saver/saver_shell.h"
#include "table_direct3d.h"

namespace {

DS_SaverDisplayMode M(UINT w, UINT h, D3DFORMAT f = D3DFMT_X8R8G8B8) {
  return DS_SaverDisplayMode{w, h, f, 0, D3DFMT_UNKNOWN};
}

std::vector<DS_SaverDisplayMode> Collect(const std::vector<D3DDISPLAYMODE>& modes, UINT capacity = kMaxCandidateModes) {
  std::vector<DS_SaverDisplayMode> kept(capacity);
  kept.resize(CollectCandidateModes(modes.data(), static_cast<UINT>(modes.size()), kept.data(), capacity));
  return kept;
}

TEST(CandidateModes, SmallModesAreDroppedAndRefreshVariantsCountOnce) {
  const auto kept = Collect({Mode(320, 240), Mode(640, 400, D3DFMT_X8R8G8B8, 60), Mode(639, 480), Mode(640, 399),
                             Mode(800, 600, D3DFMT_X8R8G8B8, 60), Mode(800, 600, D3DFMT_X8R8G8B8, 75),
                             Mode(640, 400, D3DFMT_X8R8G8B8, 70), Mode(800, 600, D3DFMT_R5G6B5)});
  ASSERT_EQ(kept.size(), 3u);
  EXPECT_EQ(kept[0].width, 640u);
  EXPECT_EQ(kept[0].height, 400u);
  EXPECT_EQ(kept[1].width, 800u);
  EXPECT_EQ(kept[2].format, D3DFMT_R5G6B5);
}

TEST(CandidateModes, TheTableKeepsAtMostItsCapacity) {
  std::vector<D3DDISPLAYMODE> many;
  for (UINT i = 0; i < 150; ++i) many.push_back(Mode(640 + i, 480));
  const auto kept = Collect(many);
  ASSERT_EQ(kept.size(), kMaxCandidateModes);
  EXPECT_EQ(kept.back().width, 640u + kMaxCandidateModes - 1);
}

TEST(CompareDisplayModes, WidthThenHeightThenFormatDescending) {
  std::vector<DS_SaverDisplayMode> modes = {M(1024, 768), M(800, 600, D3DFMT_R5G6B5), M(800, 600), M(800, 480),
                                            M(640, 480)};
  SortDisplayModes(modes.data(), static_cast<UINT>(modes.size()));
  const std::vector<std::pair<UINT, UINT>> order = {{640, 480}, {800, 480}, {800, 600}, {800, 600}, {1024, 768}};
  for (size_t i = 0; i < order.size(); ++i) {
    EXPECT_EQ(modes[i].width, order[i].first) << i;
    EXPECT_EQ(modes[i].height, order[i].second) << i;
  }
  EXPECT_EQ(modes[2].format, D3DFMT_R5G6B5);  // 23 sorts before X8R8G8B8 (22)
  EXPECT_EQ(modes[3].format, D3DFMT_X8R8G8B8);
}

struct IndexCase {
  const char* name;
  std::vector<DS_SaverDisplayMode> modes;
  UINT expected;
};

TEST(DefaultModeIndex, PrefersA16Bit640x480ElseTheLast640x480ElseTheFirstMode) {
  const std::vector<IndexCase> cases = {
      {"no 640x480", {M(800, 600), M(1024, 768)}, 0},
      {"last 640x480", {M(640, 400), M(640, 480, D3DFMT_X8R8G8B8), M(640, 480, D3DFMT_A8R8G8B8), M(800, 600)}, 2},
      {"16-bit first", {M(640, 480, D3DFMT_X8R8G8B8), M(640, 480, D3DFMT_X1R5G5B5), M(640, 480, D3DFMT_R5G6B5)}, 1},
      {"A4R4G4B4 is no default", {M(640, 480, D3DFMT_A4R4G4B4), M(640, 480, D3DFMT_X8R8G8B8)}, 1},
  };
  for (const IndexCase& c : cases)
    EXPECT_EQ(DefaultModeIndex(c.modes.data(), static_cast<UINT>(c.modes.size())), c.expected) << c.name;
}

TEST(AutomaticModeIndex, SoftwareTakesTheLowestModeAbove400Rows) {
  const std::vector<IndexCase> cases = {
      {"skips 400", {M(640, 400), M(640, 480), M(640, 480, D3DFMT_R5G6B5), M(800, 600)}, 2},
      {"last of the height", {M(640, 400), M(640, 480), M(640, 480, D3DFMT_A8R8G8B8), M(800, 600)}, 2},
      {"lowest may be wider", {M(640, 400), M(800, 480), M(1024, 768)}, 1},
      {"only 400 high", {M(640, 400), M(720, 400)}, 0},
  };
  const D3DDISPLAYMODE desktop = Mode(1024, 768);
  for (const IndexCase& c : cases)
    EXPECT_EQ(AutomaticModeIndex(c.modes.data(), static_cast<UINT>(c.modes.size()), D3DDEVTYPE_SW, desktop), c.expected)
        << c.name;
}

TEST(AutomaticModeIndex, HardwareTakesTheDesktopSizePreferring32Bit) {
  const std::vector<IndexCase> cases = {
      {"desktop size", {M(640, 480), M(1280, 720), M(1920, 1080)}, 2},
      {"32-bit variant", {M(1920, 1080, D3DFMT_R5G6B5), M(1920, 1080, D3DFMT_X1R5G5B5), M(1920, 1080)}, 2},
      {"desktop size missing", {M(640, 480), M(1280, 720)}, 0},
  };
  const D3DDISPLAYMODE desktop = Mode(1920, 1080);
  for (const IndexCase& c : cases)
    EXPECT_EQ(AutomaticModeIndex(c.modes.data(), static_cast<UINT>(c.modes.size()), D3DDEVTYPE_HAL, desktop), c.expected)
        << c.name;
}

TEST(FindSavedMode, MatchesWidthHeightAndFormat) {
  const std::vector<DS_SaverDisplayMode> modes = {M(800, 600, D3DFMT_R5G6B5), M(800, 600), M(1024, 768)};
  UINT index = 99;
  EXPECT_TRUE(FindSavedMode(modes.data(), 3, 800, 600, D3DFMT_X8R8G8B8, &index));
  EXPECT_EQ(index, 1u);
  EXPECT_FALSE(FindSavedMode(modes.data(), 3, 1280, 1024, D3DFMT_X8R8G8B8, &index));
  EXPECT_FALSE(FindSavedMode(modes.data(), 3, 1024, 768, D3DFMT_R5G6B5, &index));
}

struct StepCase {
  const char* name;
  std::vector<DS_SaverDisplayMode> modes;
  UINT from;
  bool found;
  UINT to;
};

TEST(StepDownMode, ChoosesTheNextSmallerMode) {
  const std::vector<StepCase> cases = {
      {"largest smaller area", {M(1280, 768), M(1360, 768), M(1366, 768)}, 2, true, 1},
      {"tie keeps the earlier", {M(800, 600), M(600, 800), M(1024, 768)}, 2, true, 0},
      {"none smaller", {M(640, 480), M(800, 600)}, 0, false, 0},
      {"same size 16-bit first", {M(800, 600, D3DFMT_R5G6B5), M(800, 600), M(1024, 768)}, 1, true, 0},
      {"16-bit steps to smaller area", {M(640, 480), M(800, 600, D3DFMT_R5G6B5), M(800, 600)}, 1, true, 0},
      {"32-bit displaces a 16-bit best", {M(800, 600, D3DFMT_R5G6B5), M(640, 480), M(1024, 768)}, 2, true, 1},
      {"out of range", {M(640, 480)}, 5, false, 5},
  };
  for (const StepCase& c : cases) {
    UINT chosen = c.from;
    EXPECT_EQ(StepDownMode(c.modes.data(), static_cast<UINT>(c.modes.size()), &chosen), c.found) << c.name;
    EXPECT_EQ(chosen, c.to) << c.name;
  }
}

TEST(StepDownMode, WalksEveryModeOnceFromLargestToSmallest) {
  const std::vector<DS_SaverDisplayMode> modes = {M(640, 480), M(800, 600), M(1024, 768), M(1280, 1024)};
  UINT chosen = 3;
  std::vector<UINT> visited;
  while (StepDownMode(modes.data(), 4, &chosen)) visited.push_back(chosen);
  EXPECT_EQ(visited, (std::vector<UINT>{2, 1, 0}));
}

TEST(VertexProcessingCandidates, HardwareFormsOnlyWithTransformAndLight) {
  struct Case {
    DWORD devCaps;
    std::vector<DWORD> expected;
  };
  const DWORD hw = D3DCREATE_HARDWARE_VERTEXPROCESSING, pure = D3DCREATE_PUREDEVICE,
              mixed = D3DCREATE_MIXED_VERTEXPROCESSING, sw = D3DCREATE_SOFTWARE_VERTEXPROCESSING;
  const std::vector<Case> cases = {
      {0, {sw}},
      {D3DDEVCAPS_PUREDEVICE, {sw}},
      {D3DDEVCAPS_HWTRANSFORMANDLIGHT, {hw, mixed, sw}},
      {D3DDEVCAPS_HWTRANSFORMANDLIGHT | D3DDEVCAPS_PUREDEVICE, {hw | pure, hw, mixed, sw}},
  };
  for (const Case& c : cases) {
    DWORD out[4];
    const UINT n = VertexProcessingCandidates(c.devCaps, out);
    EXPECT_EQ(std::vector<DWORD>(out, out + n), c.expected) << c.devCaps;
  }
}

TEST(DepthFormatCandidates, OrderFollowsTheMinimumBits) {
  struct Case {
    UINT depth, stencil;
    std::vector<D3DFORMAT> expected;
  };
  const std::vector<Case> cases = {
      {16, 0, {D3DFMT_D16, D3DFMT_D24X8, D3DFMT_D24S8, D3DFMT_D24X4S4, D3DFMT_D32}},
      {0, 0, {D3DFMT_D16, D3DFMT_D15S1, D3DFMT_D24X8, D3DFMT_D24S8, D3DFMT_D24X4S4, D3DFMT_D32}},
      {16, 1, {D3DFMT_D24S8, D3DFMT_D24X4S4}},
      {24, 8, {D3DFMT_D24S8}},
      {32, 0, {D3DFMT_D32}},
      {32, 1, {}},
  };
  for (const Case& c : cases) {
    D3DFORMAT out[6];
    const UINT n = DepthFormatCandidates(c.depth, c.stencil, out);
    EXPECT_EQ(std::vector<D3DFORMAT>(out, out + n), c.expected) << c.depth << "/" << c.stencil;
  }
}

TEST(WindowedBackBufferCandidates, DesktopFormatFirst) {
  D3DFORMAT out[kWindowedFormatCount];
  WindowedBackBufferCandidates(D3DFMT_R5G6B5, out);
  EXPECT_EQ(std::vector<D3DFORMAT>(out, out + kWindowedFormatCount),
            (std::vector<D3DFORMAT>{D3DFMT_R5G6B5, D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_A1R5G5B5, D3DFMT_R5G6B5}));
}

}  // namespace
