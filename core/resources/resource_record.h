// The record of the document resource manager ("DS_DocResManager", written as version 3): four
// tables read before anything is decoded.
//   1 picture entries: key name, key stamp, entry list          (always)
//   2 frame times:     key name, key stamp, frame-time list     (always)
//   3 saved resources: key name, key stamp, entry list          (unless version 1)
//   4 pending masks:   GUID string, name, flag byte, named blob (unless version 1 or 2)
// Each table is a u32 count and its elements; an element whose key is already present is dropped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <vector>

#include "core/resources/mask_entry.h"
#include "core/resources/resource_bytes.h"
#include "core/resources/resource_entry.h"

using DS_EntryTable = std::map<DS_ResourceKey, std::vector<DS_ResourceEntry>>;
using DS_FrameTimeTable = std::map<DS_ResourceKey, std::vector<float>>;
using DS_MaskSet = std::set<DS_MaskEntry, DS_MaskKeyLess>;

// The typed reads the record needs. Each returns false once the data has run out or is
// inconsistent; `Remaining` bounds counts before anything is allocated.
class DS_ResourceRecordReader {
 public:
  virtual ~DS_ResourceRecordReader() = default;
  virtual bool ReadString(ds_string& value) = 0;
  virtual bool ReadInt64(int64_t& value) = 0;
  virtual bool ReadULong(uint32_t& value) = 0;
  virtual bool ReadFloat(float& value) = 0;
  virtual bool ReadBool(uint8_t& value) = 0;
  virtual bool ReadResourceEntry(DS_ResourceEntry& entry) = 0;
  virtual bool ReadNamedBlob(DS_NamedBlob& blob) = 0;
  virtual size_t Remaining() const = 0;
};

// The record's reads over a block of memory.
class DS_CursorRecordReader : public DS_ResourceRecordReader {
 public:
  explicit DS_CursorRecordReader(DS_ByteCursor& cursor) : m_Cursor(cursor) {}
  bool ReadString(ds_string& value) override { return m_Cursor.ReadArchiveString(value); }
  bool ReadInt64(int64_t& value) override { return m_Cursor.ReadI64(value); }
  bool ReadULong(uint32_t& value) override { return m_Cursor.ReadU32(value); }
  bool ReadFloat(float& value) override { return m_Cursor.ReadF32(value); }
  bool ReadBool(uint8_t& value) override { return m_Cursor.ReadU8(value); }
  bool ReadResourceEntry(DS_ResourceEntry& entry) override { return m_Cursor.ReadResourceEntry(entry); }
  bool ReadNamedBlob(DS_NamedBlob& blob) override { return m_Cursor.ReadNamedBlob(blob); }
  size_t Remaining() const override { return m_Cursor.Remaining(); }

 private:
  DS_ByteCursor& m_Cursor;
};

struct DS_ResourceRecordTables {
  DS_EntryTable pictureEntries;
  DS_FrameTimeTable frameTimes;
  DS_EntryTable savedResources;
  DS_MaskSet pendingMasks;
};

// Reads the four tables of a record of the given version into `tables` (elements are added to
// what the tables hold). False when the data ends early or a count exceeds what remains.
bool ReadResourceRecordTables(DS_ResourceRecordReader& reader, uint32_t version, DS_ResourceRecordTables& tables);

// The entry list of the stream: a count, then each entry read into a fresh entry and appended.
bool ReadEntryList(DS_ResourceRecordReader& reader, std::vector<DS_ResourceEntry>& entries);
// A mask entry: from a fresh entry, the GUID string (an unparseable one keeps the fresh GUID),
// the name, the flag and the blob.
bool ReadMaskEntry(DS_ResourceRecordReader& reader, DS_MaskEntry& entry);
