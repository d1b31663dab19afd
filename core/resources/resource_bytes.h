// Bounded reading of resource data held in memory: the entry and blob forms of the document
// stream, and the library image-set container (u32 F, F float frame times, u32 N, N entries).
//
// Every read stays inside the block. A read that would pass its end delivers nothing, leaves its
// target unchanged and marks the cursor failed for good; a count is checked against the bytes
// that remain (at the smallest encoded size of one item) before anything is allocated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/resources/resource_entry.h"

class DS_ByteCursor {
 public:
  DS_ByteCursor(const void* data, size_t size) : m_Data(static_cast<const uint8_t*>(data)), m_Size(data ? size : 0) {}

  bool Failed() const { return m_Failed; }
  size_t Offset() const { return m_Offset; }
  size_t Remaining() const { return m_Failed ? 0 : m_Size - m_Offset; }

  bool ReadBytes(void* target, size_t count);
  bool ReadU32(uint32_t& value) { return ReadBytes(&value, 4); }
  bool ReadI32(int32_t& value) { return ReadBytes(&value, 4); }
  bool ReadI64(int64_t& value) { return ReadBytes(&value, 8); }
  bool ReadF32(float& value) { return ReadBytes(&value, 4); }
  bool ReadU8(uint8_t& value) { return ReadBytes(&value, 1); }
  // An archive string: three marker bytes, a length byte (255 escapes to u16, 65535 to u32),
  // UTF-16LE units. Length 0 leaves the target as it was; a zero unit cuts the value there.
  bool ReadArchiveString(ds_string& value);
  // u32 n, n bytes, name.
  bool ReadNamedBlob(DS_NamedBlob& blob);
  // int32 id, library path, u32 n, n bytes, name.
  bool ReadResourceEntry(DS_ResourceEntry& entry);
  // Reads a u32 count and checks that `count` items of at least `minItemSize` bytes can follow.
  bool ReadCount(uint32_t& count, size_t minItemSize);
  // Fails the cursor (a reader that found the data inconsistent).
  void Fail() { m_Failed = true; }

 private:
  const uint8_t* m_Data;
  size_t m_Size;
  size_t m_Offset = 0;
  bool m_Failed = false;
};

// Smallest encoded sizes, used to bound counts.
constexpr size_t kMinArchiveStringSize = 4;
constexpr size_t kMinResourceEntrySize = 4 + kMinArchiveStringSize + 4 + kMinArchiveStringSize;
constexpr size_t kMinNamedBlobSize = 4 + kMinArchiveStringSize;

// Parses one entry from `available` bytes at `data` into `entry`; returns the bytes consumed
// (4 + first string + 4 + n + second string), or 0 when the entry does not fit.
size_t ParseResourceEntry(const uint8_t* data, size_t available, DS_ResourceEntry& entry);

// A u32 count, then that many 4-byte values (frame times) copied unchanged. The vector holds
// exactly what was read; on failure it is empty.
bool ReadDwordVector(std::vector<float>& values, DS_ByteCursor& cursor);
// A u32 count, then that many entries, each parsed into a fresh entry. The vector's previous
// contents are replaced, never merged; on failure it is empty.
bool ReadEntryListRaw(DS_ByteCursor& cursor, std::vector<DS_ResourceEntry>& entries);

// The library image-set resource. False (both vectors empty) when it does not parse: such a
// resource gives no frames, as if it were missing.
bool ParseImageSetContainer(const void* data, size_t size, std::vector<float>& frameTimes,
                            std::vector<DS_ResourceEntry>& entries);
