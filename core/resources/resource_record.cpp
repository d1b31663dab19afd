#include "core/resources/resource_record.h"

#include <utility>

namespace {

constexpr size_t kMinKeyBytes = DS_MIN_STRING_BYTES + 8;
constexpr size_t kMinMaskBytes = DS_MIN_STRING_BYTES * 2 + 1 + DS_MIN_NAMED_BLOB_BYTES;

void ReadKey(DS_IOF_Virtual& in, DS_ResourceKey& key) {
  in.ReadString(key.name);
  in.ReadInt64(key.stamp);
}

void WriteKey(DS_IOF_Virtual& out, const DS_ResourceKey& key) {
  out.WriteString(key.name);
  out.WriteInt64(key.stamp);
}

void ReadFrameTimes(DS_IOF_Virtual& in, std::vector<float>& times) {
  times.assign(DS_ReadCount(in, 4), 0.0f);
  for (float& t : times) in.ReadFloat(t);
}

void ReadEntryTable(DS_IOF_Virtual& in, DS_EntryTable& table) {
  const uint32_t count = DS_ReadCount(in, kMinKeyBytes + 4);
  for (uint32_t i = 0; i < count; ++i) {
    DS_ResourceKey key;
    std::vector<DS_ResourceEntry> entries;
    ReadKey(in, key);
    ReadEntryList(in, entries);
    table.emplace(std::move(key), std::move(entries));  // a key already present keeps its value
  }
}

void ReadFrameTimeTable(DS_IOF_Virtual& in, DS_FrameTimeTable& table) {
  const uint32_t count = DS_ReadCount(in, kMinKeyBytes + 4);
  for (uint32_t i = 0; i < count; ++i) {
    DS_ResourceKey key;
    std::vector<float> times;
    ReadKey(in, key);
    ReadFrameTimes(in, times);
    table.emplace(std::move(key), std::move(times));
  }
}

void ReadMaskSet(DS_IOF_Virtual& in, DS_MaskSet& masks) {
  const uint32_t count = DS_ReadCount(in, kMinMaskBytes);
  for (uint32_t i = 0; i < count; ++i) {
    DS_MaskEntry mask = MakeNewMaskEntry();
    ReadMaskEntry(in, mask);
    masks.insert(std::move(mask));  // a GUID already present keeps its first mask
  }
}

void WriteEntryTable(DS_IOF_Virtual& out, const DS_EntryTable& table) {
  out.WriteULong(static_cast<uint32_t>(table.size()));
  for (const auto& element : table) {
    WriteKey(out, element.first);
    WriteEntryList(out, element.second);
  }
}

void WriteFrameTimeTable(DS_IOF_Virtual& out, const DS_FrameTimeTable& table) {
  out.WriteULong(static_cast<uint32_t>(table.size()));
  for (const auto& element : table) {
    WriteKey(out, element.first);
    WriteFrameTimes(out, element.second);
  }
}

void WriteMaskSet(DS_IOF_Virtual& out, const DS_MaskSet& masks) {
  out.WriteULong(static_cast<uint32_t>(masks.size()));
  for (const DS_MaskEntry& mask : masks) {
    WriteGuid(out, mask.id);
    out.WriteString(mask.name);
    out.WriteBool(mask.flag);
    out.WriteNamedBlob(mask.blob);
  }
}

}  // namespace

void ReadEntryList(DS_IOF_Virtual& in, std::vector<DS_ResourceEntry>& entries) {
  const uint32_t count = DS_ReadCount(in, DS_MIN_RESOURCE_ENTRY_BYTES);
  entries.reserve(entries.size() + count);
  for (uint32_t i = 0; i < count; ++i) {
    DS_ResourceEntry entry;
    in.ReadResourceEntry(entry);
    entries.push_back(std::move(entry));
  }
}

void WriteEntryList(DS_IOF_Virtual& out, const std::vector<DS_ResourceEntry>& entries) {
  out.WriteULong(static_cast<uint32_t>(entries.size()));
  for (const DS_ResourceEntry& entry : entries) out.WriteResourceEntry(entry);
}

void WriteFrameTimes(DS_IOF_Virtual& out, const std::vector<float>& times) {
  out.WriteULong(static_cast<uint32_t>(times.size()));
  for (const float& t : times) out.WriteFloat(t);
}

void ReadMaskEntry(DS_IOF_Virtual& in, DS_MaskEntry& entry) {
  ReadGuid(in, entry.id);
  in.ReadString(entry.name);
  in.ReadBool(entry.flag);
  in.ReadNamedBlob(entry.blob);
}

void ReadResourceRecordTables(DS_IOF_Virtual& in, uint32_t version, DS_ResourceRecordTables& tables) {
  ReadEntryTable(in, tables.pictureEntries);
  ReadFrameTimeTable(in, tables.frameTimes);
  if (version == 1) return;
  ReadEntryTable(in, tables.savedResources);
  if (version == 2) return;
  ReadMaskSet(in, tables.pendingMasks);
}

void WriteResourceRecordTables(DS_IOF_Virtual& out, const DS_EntryTable& pictureEntries,
                               const DS_FrameTimeTable& frameTimes, const DS_EntryTable& savedResources,
                               const DS_MaskSet& pendingMasks) {
  WriteEntryTable(out, pictureEntries);
  WriteFrameTimeTable(out, frameTimes);
  WriteEntryTable(out, savedResources);
  WriteMaskSet(out, pendingMasks);
}
