#include "core/data/ds_stream.h"

#include <cstring>
#include <utility>

// The stored form is little-endian, and values are copied as they stand in memory.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the document stream assumes a little-endian machine");

namespace {

uint16_t LoadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t LoadU32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

// Length and header size of the archive string at `data`; false when the header does not fit.
bool ParseStringHeader(const uint8_t* data, size_t available, uint32_t& length, size_t& headerBytes) {
  if (available < 4) return false;
  if (data[3] != 0xFF) {
    length = data[3];
    headerBytes = 4;
    return true;
  }
  if (available < 6) return false;
  const uint16_t length16 = LoadU16(data + 4);
  if (length16 != 0xFFFF) {
    length = length16;
    headerBytes = 6;
    return true;
  }
  if (available < 10) return false;
  length = LoadU32(data + 6);
  headerBytes = 10;
  return true;
}

}  // namespace

size_t ParseArchiveString(const uint8_t* data, size_t available, ds_string& value) {
  uint32_t length = 0;
  size_t headerBytes = 0;
  if (data == nullptr || !ParseStringHeader(data, available, length, headerBytes)) return 0;
  // Bounded by the bytes present, so the unit count can neither overflow nor over-allocate.
  if (length > (available - headerBytes) / 2) return 0;
  if (length == 0) return headerBytes;
  ds_string units(length, u'\0');
  std::memcpy(&units[0], data + headerBytes, size_t{length} * 2);
  const size_t zero = units.find(u'\0');
  if (zero != ds_string::npos) units.resize(zero);
  value = std::move(units);
  return headerBytes + size_t{length} * 2;
}

uint32_t DS_ReadCount(DS_IOF_Virtual& in, size_t minItemBytes) {
  uint32_t count = 0;
  in.ReadULong(count);
  if (minItemBytes != 0 && count > in.Remaining() / minItemBytes) {
    throw DS_DocumentError("a list count exceeds the bytes that remain in the document");
  }
  return count;
}

DS_ObjectHeader DS_ReadHeader(DS_IOF_Virtual& in) {
  DS_ObjectHeader header;
  in.ReadString(header.className);
  in.ReadULong(header.version);
  return header;
}

void DS_WriteHeader(DS_IOF_Virtual& out, const ds_string& className, uint32_t version) {
  out.WriteString(className);
  out.WriteULong(version);
}

// ---- reader

void DS_IOF_R<ResourceBuffer>::Fail(const char* what) {
  m_Buffer->failed = true;
  throw DS_DocumentError(what);
}

void DS_IOF_R<ResourceBuffer>::Copy(void* target, size_t count) {
  if (m_Buffer->failed) Fail("the document was already found unreadable");
  if (count > m_Buffer->Remaining()) Fail("the document ends inside a record");
  std::memcpy(target, m_Buffer->cursor, count);
  m_Buffer->cursor += count;
}

void DS_IOF_R<ResourceBuffer>::ReadString(ds_string& value) {
  if (m_Buffer->failed) Fail("the document was already found unreadable");
  const size_t consumed = ParseArchiveString(m_Buffer->cursor, m_Buffer->Remaining(), value);
  if (consumed == 0) Fail("a string runs past the end of the document");
  m_Buffer->cursor += consumed;
}

void DS_IOF_R<ResourceBuffer>::ReadPoint(DS_Point& value) {
  DS_Point point = value;
  Copy(&point.x, 4);
  Copy(&point.y, 4);
  value = point;
}

void DS_IOF_R<ResourceBuffer>::ReadBool(bool& value) {
  uint8_t byte = 0;
  Copy(&byte, 1);
  value = byte != 0;
}

void DS_IOF_R<ResourceBuffer>::ReadBlobBytes(std::vector<uint8_t>& bytes) {
  uint32_t size = 0;
  Copy(&size, 4);
  if (size > m_Buffer->Remaining()) Fail("a block of bytes runs past the end of the document");
  // The old bytes are always replaced: a blob read with no bytes keeps none.
  bytes.assign(m_Buffer->cursor, m_Buffer->cursor + size);
  m_Buffer->cursor += size;
}

void DS_IOF_R<ResourceBuffer>::ReadNamedBlob(DS_NamedBlob& blob) {
  ReadBlobBytes(blob.bytes);
  ReadString(blob.name);
}

void DS_IOF_R<ResourceBuffer>::ReadResourceEntry(DS_ResourceEntry& entry) {
  Copy(&entry.resourceId, 4);
  ReadString(entry.libraryPath);
  ReadBlobBytes(entry.bytes);
  ReadString(entry.name);
}

// ---- writer

void DS_IOF_ByteWriter::Append(const void* data, size_t count) {
  const auto* first = static_cast<const uint8_t*>(data);
  m_Bytes.insert(m_Bytes.end(), first, first + count);
}

void DS_IOF_ByteWriter::Misuse() { throw std::logic_error("the document writer cannot read"); }

void DS_IOF_ByteWriter::WriteString(const ds_string& value) {
  static const uint8_t kMarker[3] = {0xFF, 0xFE, 0xFF};
  Append(kMarker, 3);
  const size_t length = value.size();
  if (length > 0xFFFFFFFFu) throw std::length_error("a string is too long for the document");
  if (length < 0xFF) {
    const auto l8 = static_cast<uint8_t>(length);
    Append(&l8, 1);
  } else if (length < 0xFFFF) {
    const uint8_t escape = 0xFF;
    const auto l16 = static_cast<uint16_t>(length);
    Append(&escape, 1);
    Append(&l16, 2);
  } else {
    static const uint8_t kEscapes[3] = {0xFF, 0xFF, 0xFF};
    const auto l32 = static_cast<uint32_t>(length);
    Append(kEscapes, 3);
    Append(&l32, 4);
  }
  Append(value.data(), length * 2);
}

void DS_IOF_ByteWriter::WritePoint(const DS_Point& value) {
  Append(&value.x, 4);
  Append(&value.y, 4);
}

void DS_IOF_ByteWriter::WriteBool(const bool& value) {
  const uint8_t byte = value ? 1 : 0;
  Append(&byte, 1);
}

void DS_IOF_ByteWriter::WriteNamedBlob(const DS_NamedBlob& blob) {
  const uint32_t size = blob.Size();
  Append(&size, 4);
  if (size != 0) Append(blob.bytes.data(), size);
  WriteString(blob.name);
}

void DS_IOF_ByteWriter::WriteResourceEntry(const DS_ResourceEntry& entry) {
  Append(&entry.resourceId, 4);
  WriteString(entry.libraryPath);
  const uint32_t size = entry.Size();
  Append(&size, 4);
  if (size != 0) Append(entry.bytes.data(), size);
  WriteString(entry.name);
}
