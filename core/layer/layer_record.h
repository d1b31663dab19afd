// The pieces of the layer and camera records read through the bounded document cursor: the
// object header (class name and version) and a resource link (name and 64-bit stamp).
#pragma once

#include <cstdint>

#include "core/resources/resource_bytes.h"

struct DS_RecordHeader {
  ds_string className;
  uint32_t version = 0;
};

// Class name and u32 version. False when the data ends first.
bool ReadRecordHeader(DS_ByteCursor& stream, DS_RecordHeader& header);
// Name (an empty stored name empties the link) and stamp, stored into the key only when both
// were read.
bool ReadLinkKey(DS_ByteCursor& stream, DS_ResourceKey& key);
