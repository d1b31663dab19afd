// The record of the document resource manager ("DS_DocResManager", written as version 3): four
// tables, read before anything is decoded.
//   1 picture entries: key name, key stamp, entry list          (always)
//   2 frame times:     key name, key stamp, frame-time list     (always)
//   3 saved resources: key name, key stamp, entry list          (unless version 1)
//   4 pending masks:   GUID string, name, flag byte, named blob (unless version 1 or 2)
// Each table is a u32 count and its elements; an element whose key is already present is dropped.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <vector>

#include "core/data/ds_stream.h"
#include "core/data/file_links.h"
#include "core/resources/mask_entry.h"

using DS_EntryTable = std::map<DS_ResourceKey, std::vector<DS_ResourceEntry>>;
using DS_FrameTimeTable = std::map<DS_ResourceKey, std::vector<float>>;
using DS_MaskSet = std::set<DS_MaskEntry, DS_MaskKeyLess>;

struct DS_ResourceRecordTables {
  DS_EntryTable pictureEntries;
  DS_FrameTimeTable frameTimes;
  DS_EntryTable savedResources;
  DS_MaskSet pendingMasks;
};

// Reads the tables of a record of the given version into `tables` (added to what they hold).
// The reader throws DS_DocumentError when the data ends early or a count exceeds what remains.
void ReadResourceRecordTables(DS_IOF_Virtual& in, uint32_t version, DS_ResourceRecordTables& tables);
// Writes the four tables as version 3 writes them, each element in its table's key order.
void WriteResourceRecordTables(DS_IOF_Virtual& out, const DS_EntryTable& pictureEntries,
                               const DS_FrameTimeTable& frameTimes, const DS_EntryTable& savedResources,
                               const DS_MaskSet& pendingMasks);

// The entry list: a count, then each entry read into a fresh entry and appended.
void ReadEntryList(DS_IOF_Virtual& in, std::vector<DS_ResourceEntry>& entries);
void WriteEntryList(DS_IOF_Virtual& out, const std::vector<DS_ResourceEntry>& entries);
void WriteFrameTimes(DS_IOF_Virtual& out, const std::vector<float>& times);
// A mask entry: from a fresh entry, the GUID string (one that is not a GUID keeps the fresh
// GUID), the name, the flag and the blob.
void ReadMaskEntry(DS_IOF_Virtual& in, DS_MaskEntry& entry);
