#include "core/resources/resource_bytes.h"

#include <cstring>

bool DS_ByteCursor::ReadBytes(void* target, size_t count) {
  if (m_Failed || count > m_Size - m_Offset) {
    m_Failed = true;
    return false;
  }
  if (count != 0) std::memcpy(target, m_Data + m_Offset, count);
  m_Offset += count;
  return true;
}

bool DS_ByteCursor::ReadArchiveString(ds_string& value) {
  uint8_t header[4];
  if (!ReadBytes(header, 4)) return false;
  uint32_t length = header[3];
  if (length == 255) {
    uint16_t length16 = 0;
    if (!ReadBytes(&length16, 2)) return false;
    length = length16;
    if (length16 == 0xFFFF && !ReadU32(length)) return false;
  }
  if (length == 0) return true;
  if (length > Remaining() / 2) {
    m_Failed = true;
    return false;
  }
  const uint8_t* units = m_Data + m_Offset;
  m_Offset += size_t{length} * 2;
  ds_string text;
  text.reserve(length);
  for (uint32_t i = 0; i < length; ++i) {
    const auto unit = static_cast<uint16_t>(units[2 * i] | (units[2 * i + 1] << 8));
    if (unit == 0) break;  // the value ends at a zero unit; every unit is still consumed
    text.push_back(static_cast<wchar_t>(unit));
  }
  value = std::move(text);
  return true;
}

bool DS_ByteCursor::ReadCount(uint32_t& count, size_t minItemSize) {
  uint32_t stored = 0;
  if (!ReadU32(stored)) return false;
  if (minItemSize != 0 && stored > Remaining() / minItemSize) {
    m_Failed = true;
    return false;
  }
  count = stored;
  return true;
}

static bool ReadBlobBytes(DS_ByteCursor& cursor, std::vector<uint8_t>& bytes) {
  uint32_t size = 0;
  if (!cursor.ReadCount(size, 1)) return false;
  if (size == 0) {
    bytes.clear();
    return true;
  }
  std::vector<uint8_t> read(size);
  if (!cursor.ReadBytes(read.data(), size)) return false;
  bytes = std::move(read);
  return true;
}

bool DS_ByteCursor::ReadNamedBlob(DS_NamedBlob& blob) {
  return ReadBlobBytes(*this, blob.bytes) && ReadArchiveString(blob.name);
}

bool DS_ByteCursor::ReadResourceEntry(DS_ResourceEntry& entry) {
  return ReadI32(entry.resourceId) && ReadArchiveString(entry.libraryPath) &&
         ReadBlobBytes(*this, entry.bytes) && ReadArchiveString(entry.name);
}

size_t ParseResourceEntry(const uint8_t* data, size_t available, DS_ResourceEntry& entry) {
  DS_ByteCursor cursor(data, available);
  DS_ResourceEntry parsed = entry;
  if (!cursor.ReadResourceEntry(parsed)) return 0;
  entry = std::move(parsed);
  return cursor.Offset();
}

bool ReadDwordVector(std::vector<float>& values, DS_ByteCursor& cursor) {
  values.clear();
  uint32_t count = 0;
  if (!cursor.ReadCount(count, 4)) return false;
  values.resize(count);
  if (count != 0 && !cursor.ReadBytes(values.data(), size_t{count} * 4)) {
    values.clear();
    return false;
  }
  return true;
}

bool ReadEntryListRaw(DS_ByteCursor& cursor, std::vector<DS_ResourceEntry>& entries) {
  entries.clear();
  uint32_t count = 0;
  if (!cursor.ReadCount(count, kMinResourceEntrySize)) return false;
  entries.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    DS_ResourceEntry entry;
    if (!cursor.ReadResourceEntry(entry)) {
      entries.clear();
      return false;
    }
    entries.push_back(std::move(entry));
  }
  return true;
}

bool ParseImageSetContainer(const void* data, size_t size, std::vector<float>& frameTimes,
                            std::vector<DS_ResourceEntry>& entries) {
  DS_ByteCursor cursor(data, size);
  if (ReadDwordVector(frameTimes, cursor) && ReadEntryListRaw(cursor, entries)) return true;
  frameTimes.clear();
  entries.clear();
  return false;
}
