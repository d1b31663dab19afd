// Masks of the brush effects and the lake layer: pictures keyed by a GUID.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/data/ds_named_blob.h"
#include "core/data/ds_types.h"

// The key part of a mask. Only the GUID takes part in ordering and equality.
struct DS_MaskKey {
  DS_Guid id;
  ds_string name;
  bool flag = true;  // true for a new mask
};

// Masks order by the GUID's 16 bytes in memory order (Data1, Data2, Data3 little-endian, then
// Data4), compared as unsigned bytes.
struct DS_MaskKeyLess {
  bool operator()(const DS_MaskKey& a, const DS_MaskKey& b) const { return std::memcmp(&a.id, &b.id, sizeof(DS_Guid)) < 0; }
};

// A mask of the document: its key and the encoded picture (any format the texture loader takes).
struct DS_MaskEntry : DS_MaskKey {
  DS_NamedBlob blob;
};

// A fresh mask entry: a new GUID, empty name, flag set, no bytes.
DS_MaskEntry MakeNewMaskEntry();

// The part of the picture where a mask's alpha can be above 0, in fractions of the picture (the
// texture coordinates at which the brushes sample their mask, (0, 0) at the top left). The whole
// picture unless it was found when the mask was decoded; empty for a mask clear everywhere.
struct DS_MaskBounds {
  float left = 0.0f, top = 0.0f, right = 1.0f, bottom = 1.0f;
  bool Whole() const { return left <= 0.0f && top <= 0.0f && right >= 1.0f && bottom >= 1.0f; }
  bool Empty() const { return !(right > left && bottom > top); }
};

// The bounds of the mask whose alpha values are the bytes `alpha[y * pitch + x * step]` of a
// width x height picture: the texels whose alpha is above 0, widened by the half texel that a
// filtered sample between texels reaches beyond them, and cut to the picture.
DS_MaskBounds MaskBoundsOfAlpha(const uint8_t* alpha, unsigned width, unsigned height, size_t pitch, size_t step);
