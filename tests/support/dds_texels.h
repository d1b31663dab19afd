// What the Windows tests of the bump-format DDS reader compare: a texture's levels with the
// texels of the DDS file (tests/support/dds_bytes.h) it was made from.
#pragma once

#include <d3d9.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "tests/support/dds_bytes.h"

// Whether every level of the texture holds the texels the DDS file stores for it: the levels
// follow the 128 header bytes one after the other, each half the size of the one before.
inline ::testing::AssertionResult HoldsFileTexels(IDirect3DTexture9* texture, const TestDds& dds,
                                                  const std::vector<std::uint8_t>& file) {
  size_t offset = 128;
  UINT w = dds.width, h = dds.height;
  const UINT texel = dds.BytesPerTexel();
  for (UINT level = 0; level < texture->GetLevelCount(); ++level) {
    D3DLOCKED_RECT locked;
    if (FAILED(texture->LockRect(level, &locked, nullptr, D3DLOCK_READONLY)))
      return ::testing::AssertionFailure() << "level " << level << " cannot be locked";
    bool same = true;
    for (UINT y = 0; y < h; ++y)
      same = same && std::equal(file.begin() + static_cast<std::ptrdiff_t>(offset + y * w * texel),
                                file.begin() + static_cast<std::ptrdiff_t>(offset + (y + 1) * w * texel),
                                static_cast<const std::uint8_t*>(locked.pBits) + y * locked.Pitch);
    texture->UnlockRect(level);
    if (!same) return ::testing::AssertionFailure() << "level " << level << " differs from the file";
    offset += static_cast<size_t>(w) * h * texel;
    w = std::max(1u, w / 2);
    h = std::max(1u, h / 2);
  }
  return ::testing::AssertionSuccess();
}
