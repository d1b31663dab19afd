// Masks of the brush effects and the lake layer: pictures keyed by a GUID.
#pragma once

#include <array>
#include <cstdint>

#include "core/resources/resource_entry.h"

// A GUID as its 16 bytes in memory order: Data1, Data2 and Data3 little-endian, then Data4.
using DS_GuidBytes = std::array<uint8_t, 16>;

// Parses the registry form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (either case). False, with
// `guid` unchanged, for anything else.
bool GuidFromString(const ds_string& text, DS_GuidBytes& guid);
// The registry form with upper-case digits.
ds_string GuidToString(const DS_GuidBytes& guid);

// The key part of a mask. Only the GUID takes part in ordering and equality.
struct DS_MaskKey {
  DS_GuidBytes id{};
  ds_string name;
  uint8_t flag = 1;  // 1 for a new mask
};

// Masks order by the GUID's bytes in memory order, compared as unsigned bytes.
struct DS_MaskKeyLess {
  bool operator()(const DS_MaskKey& a, const DS_MaskKey& b) const { return a.id < b.id; }
};

// A mask of the document: its key and the encoded picture (any format the texture loader takes).
struct DS_MaskEntry : DS_MaskKey {
  DS_NamedBlob blob;
};

// A fresh mask entry: a new GUID, empty name, flag 1, no bytes. Windows only (CoCreateGuid).
DS_MaskEntry MakeNewMaskEntry();
