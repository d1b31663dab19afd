// A stored record seen field by field, through the registry that reads it: where its header and
// fields end, the record with another version in its header, and the older records that a class
// still reads made from its current one by cutting the fields added since. Platform-free: the
// conformance test checks the classes with it, the fuzzer's seed maker writes their older records.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "core/data/class_registry.h"
#include "core/data/ds_stream.h"

inline std::vector<uint8_t> Written(const DS_IOF_Item& item) {
  DS_IOF_ByteWriter out;
  item.Write(out);
  return out.TakeBytes();
}

// The bytes of the header's class name; the version follows them.
inline size_t NameBytes(const std::vector<uint8_t>& record) {
  ds_string name;
  return ParseArchiveString(record.data(), record.size(), name);
}

inline uint32_t HeaderVersion(const std::vector<uint8_t>& record) {
  const size_t at = NameBytes(record);
  if (at == 0 || at + 4 > record.size()) return 0;
  return static_cast<uint32_t>(record[at]) | static_cast<uint32_t>(record[at + 1]) << 8 |
         static_cast<uint32_t>(record[at + 2]) << 16 | static_cast<uint32_t>(record[at + 3]) << 24;
}

inline std::vector<uint8_t> WithVersion(std::vector<uint8_t> record, uint32_t version) {
  const size_t at = NameBytes(record);
  if (at == 0 || at + 4 > record.size()) return record;
  for (int i = 0; i < 4; ++i) record[at + i] = static_cast<uint8_t>(version >> (8 * i));
  return record;
}

// Header and record through the registry; `left` is what the reader did not consume.
template <class B>
std::unique_ptr<B> ReadRecord(const DS_ReaderMap<B>& registry, const std::vector<uint8_t>& bytes, size_t& left) {
  ResourceBuffer buffer(bytes.data(), bytes.size());
  DS_DocumentReader reader(&buffer);
  std::unique_ptr<B> object = DS_ReadRegisteredObject(registry, reader);
  left = buffer.Remaining();
  return object;
}

// The document reader, noting where each read ends: the record's field boundaries.
class FieldReader final : public DS_IOF_Virtual {
 public:
  explicit FieldReader(const std::vector<uint8_t>& bytes)
      : m_Buffer(bytes.data(), bytes.size()), m_Reader(&m_Buffer), m_Size(bytes.size()) {}

  void ReadResourceEntry(DS_ResourceEntry& v) override { Note(&DS_IOF_Virtual::ReadResourceEntry, v); }
  void ReadNamedBlob(DS_NamedBlob& v) override { Note(&DS_IOF_Virtual::ReadNamedBlob, v); }
  void ReadString(ds_string& v) override { Note(&DS_IOF_Virtual::ReadString, v); }
  void ReadInt64(int64_t& v) override { Note(&DS_IOF_Virtual::ReadInt64, v); }
  void ReadFloat(float& v) override { Note(&DS_IOF_Virtual::ReadFloat, v); }
  void ReadPoint(DS_Point& v) override { Note(&DS_IOF_Virtual::ReadPoint, v); }
  void ReadULong(uint32_t& v) override { Note(&DS_IOF_Virtual::ReadULong, v); }
  void ReadUInt(uint32_t& v) override { Note(&DS_IOF_Virtual::ReadUInt, v); }
  void ReadByte(uint8_t& v) override { Note(&DS_IOF_Virtual::ReadByte, v); }
  void ReadBool(bool& v) override { Note(&DS_IOF_Virtual::ReadBool, v); }
  void ReadInt(int32_t& v) override { Note(&DS_IOF_Virtual::ReadInt, v); }
  size_t Remaining() const override { return m_Reader.Remaining(); }

  const std::vector<size_t>& Ends() const { return m_Ends; }

 private:
  template <class T>
  void Note(void (DS_IOF_Virtual::*read)(T&), T& value) {
    (m_Reader.*read)(value);
    m_Ends.push_back(m_Size - m_Reader.Remaining());
  }

  ResourceBuffer m_Buffer;
  DS_DocumentReader m_Reader;
  size_t m_Size;
  std::vector<size_t> m_Ends;
};

// Where the fields of a readable record end, the header's included.
template <class B>
std::vector<size_t> FieldEnds(const DS_ReaderMap<B>& registry, const std::vector<uint8_t>& record) {
  FieldReader reader(record);
  DS_ReadRegisteredObject(registry, reader);
  return reader.Ends();
}

// The record with the text of every GUID (an archive string of 38 units in braces) blanked.
inline std::vector<uint8_t> WithoutGuids(std::vector<uint8_t> record) {
  constexpr size_t kUnits = 38, kHeader = 4;
  for (size_t at = 0; at + kHeader + 2 * kUnits <= record.size(); ++at) {
    const uint8_t* p = record.data() + at;
    if (p[0] != 0xFF || p[1] != 0xFE || p[2] != 0xFF || p[3] != kUnits) continue;
    const uint8_t* text = p + kHeader;
    if (text[0] != '{' || text[1] != 0 || text[2 * kUnits - 2] != '}' || text[2 * kUnits - 1] != 0) continue;
    std::fill(record.begin() + static_cast<std::ptrdiff_t>(at + kHeader),
              record.begin() + static_cast<std::ptrdiff_t>(at + kHeader + 2 * kUnits), 0);
  }
  return record;
}

// Whether `record` reads whole and writes back as `expected` (with `anyGuids`, GUIDs aside). Only
// the document error counts as a refusal: anything else thrown goes to the caller.
template <class B>
bool ReadsBackTo(const DS_ReaderMap<B>& registry, const std::vector<uint8_t>& record,
                 const std::vector<uint8_t>& expected, bool anyGuids = false) {
  try {
    size_t left = 0;
    std::unique_ptr<B> object = ReadRecord(registry, record, left);
    if (!object || left != 0) return false;
    return anyGuids ? WithoutGuids(Written(*object)) == WithoutGuids(expected) : Written(*object) == expected;
  } catch (const DS_DocumentError&) {
    return false;
  }
}

// The runs of whole fields after the header of a readable record, as (start, end), shortest first:
// what an older version may lack.
template <class B>
std::vector<std::pair<size_t, size_t>> FieldRuns(const DS_ReaderMap<B>& registry, const std::vector<uint8_t>& record) {
  const size_t headerBytes = NameBytes(record) + 4;
  const std::vector<size_t> fieldEnds = FieldEnds(registry, record);
  std::vector<size_t> starts;  // where a field may begin: after the header, at a field's end
  for (size_t end : fieldEnds)
    if (end >= headerBytes && end < record.size()) starts.push_back(end);
  std::vector<std::pair<size_t, size_t>> runs;
  for (size_t start : starts)
    for (size_t end : fieldEnds)
      if (end > start) runs.emplace_back(start, end);
  std::stable_sort(runs.begin(), runs.end(), [](const auto& a, const auto& b) {
    return a.second - a.first < b.second - b.first;
  });
  return runs;
}

// The record of an older `version`: the default record `record` with that version in its header
// and the shortest run of `runs` longer than `lastCut` cut out, such that it reads back to the
// default record (the older version keeps the defaults of the fields it lacks). Asked for one
// version after another, newest first, each older record is shorter than the newer ones:
// `lastCut` becomes the length of the run cut. Empty when no such run exists.
template <class B>
std::vector<uint8_t> OlderRecordByCut(const DS_ReaderMap<B>& registry, const std::vector<uint8_t>& record,
                                      const std::vector<std::pair<size_t, size_t>>& runs, uint32_t version,
                                      size_t& lastCut) {
  const std::vector<uint8_t> full = WithVersion(record, version);
  for (const auto& run : runs) {
    const size_t runBytes = run.second - run.first;
    if (runBytes <= lastCut) continue;
    std::vector<uint8_t> older = full;
    older.erase(older.begin() + static_cast<std::ptrdiff_t>(run.first),
                older.begin() + static_cast<std::ptrdiff_t>(run.second));
    if (ReadsBackTo(registry, older, record)) {
      lastCut = runBytes;
      return older;
    }
  }
  return {};
}
