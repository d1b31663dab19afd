#include "core/resources/resource_record.h"

#include <utility>

namespace {

constexpr size_t kMinKeySize = kMinArchiveStringSize + 8;
constexpr size_t kMinMaskSize = kMinArchiveStringSize * 2 + 1 + kMinNamedBlobSize;

bool ReadCount(DS_ResourceRecordReader& reader, uint32_t& count, size_t minItemSize) {
  uint32_t stored = 0;
  if (!reader.ReadULong(stored)) return false;
  if (stored > reader.Remaining() / minItemSize) return false;
  count = stored;
  return true;
}

bool ReadKey(DS_ResourceRecordReader& reader, DS_ResourceKey& key) {
  return reader.ReadString(key.name) && reader.ReadInt64(key.stamp);
}

bool ReadFrameTimes(DS_ResourceRecordReader& reader, std::vector<float>& times) {
  uint32_t count = 0;
  if (!ReadCount(reader, count, 4)) return false;
  times.assign(count, 0.0f);
  for (float& t : times)
    if (!reader.ReadFloat(t)) return false;
  return true;
}

bool ReadEntryTable(DS_ResourceRecordReader& reader, DS_EntryTable& table) {
  uint32_t count = 0;
  if (!ReadCount(reader, count, kMinKeySize + 4)) return false;
  for (uint32_t i = 0; i < count; ++i) {
    DS_ResourceKey key;
    std::vector<DS_ResourceEntry> entries;
    if (!ReadKey(reader, key) || !ReadEntryList(reader, entries)) return false;
    table.emplace(std::move(key), std::move(entries));  // a key already present keeps its value
  }
  return true;
}

bool ReadFrameTimeTable(DS_ResourceRecordReader& reader, DS_FrameTimeTable& table) {
  uint32_t count = 0;
  if (!ReadCount(reader, count, kMinKeySize + 4)) return false;
  for (uint32_t i = 0; i < count; ++i) {
    DS_ResourceKey key;
    std::vector<float> times;
    if (!ReadKey(reader, key) || !ReadFrameTimes(reader, times)) return false;
    table.emplace(std::move(key), std::move(times));
  }
  return true;
}

bool ReadMaskSet(DS_ResourceRecordReader& reader, DS_MaskSet& masks) {
  uint32_t count = 0;
  if (!ReadCount(reader, count, kMinMaskSize)) return false;
  for (uint32_t i = 0; i < count; ++i) {
    DS_MaskEntry mask = MakeNewMaskEntry();
    if (!ReadMaskEntry(reader, mask)) return false;
    masks.insert(std::move(mask));  // a GUID already present keeps its first mask
  }
  return true;
}

}  // namespace

bool ReadEntryList(DS_ResourceRecordReader& reader, std::vector<DS_ResourceEntry>& entries) {
  uint32_t count = 0;
  if (!ReadCount(reader, count, kMinResourceEntrySize)) return false;
  entries.reserve(entries.size() + count);
  for (uint32_t i = 0; i < count; ++i) {
    DS_ResourceEntry entry;
    if (!reader.ReadResourceEntry(entry)) return false;
    entries.push_back(std::move(entry));
  }
  return true;
}

bool ReadMaskEntry(DS_ResourceRecordReader& reader, DS_MaskEntry& entry) {
  ds_string guidText;
  if (!reader.ReadString(guidText)) return false;
  GuidFromString(guidText, entry.id);
  return reader.ReadString(entry.name) && reader.ReadBool(entry.flag) && reader.ReadNamedBlob(entry.blob);
}

bool ReadResourceRecordTables(DS_ResourceRecordReader& reader, uint32_t version, DS_ResourceRecordTables& tables) {
  if (!ReadEntryTable(reader, tables.pictureEntries) || !ReadFrameTimeTable(reader, tables.frameTimes))
    return false;
  if (version == 1) return true;
  if (!ReadEntryTable(reader, tables.savedResources)) return false;
  if (version == 2) return true;
  return ReadMaskSet(reader, tables.pendingMasks);
}
