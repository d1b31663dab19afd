// Masks of the brush effects and the lake layer: pictures keyed by a GUID.
#pragma once

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
