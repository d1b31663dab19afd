// The multi-frame picture of a resource library ("DDS" resource read as an image set):
//   u32 F, F float32 frame times (seconds), u32 N, N resource entries in the document's form.
// Read with the document's bounded reader: a resource whose counts exceed its bytes, or that
// ends early, does not parse.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/data/ds_stream.h"

// A u32 count, then that many 4-byte values copied unchanged (frame times). Replaces the vector.
// Throws DS_DocumentError when they do not fit.
void ReadDwordVector(std::vector<float>& values, ResourceBuffer& buffer);
// A u32 count, then that many entries, each read into a fresh entry: the vector's previous
// contents are replaced, never merged. Throws DS_DocumentError when they do not fit.
void ReadEntryListRaw(ResourceBuffer& buffer, std::vector<DS_ResourceEntry>& entries);

// The whole container. False, both vectors empty, when it does not parse: such a resource gives
// no frames, as if it were missing.
bool ParseImageSetContainer(const void* data, size_t size, std::vector<float>& frameTimes,
                            std::vector<DS_ResourceEntry>& entries);

// One entry from `available` bytes: the bytes consumed (4 + first string + 4 + n + second
// string), or 0, entry unchanged, when it does not fit.
size_t ParseResourceEntry(const uint8_t* data, size_t available, DS_ResourceEntry& entry);
