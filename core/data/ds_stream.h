// The document stream: the interface through which every stored class reads and writes itself,
// its bounded memory reader and a writer that produces exactly the bytes the reader consumes.
//
// Byte layout (little-endian, no padding, no lengths around objects):
//   resource entry  int32 id, string library path, u32 n, n bytes, string name
//   named blob      u32 n, n bytes, string name
//   string          3 marker bytes, length byte L (255: u16 follows; u16 65535: u32 follows),
//                   L UTF-16LE units without terminator
//   int64 8, float 4, point int32 x + int32 y, ulong/uint/int 4, byte/bool 1
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <vector>

#include "core/data/ds_named_blob.h"
#include "core/data/ds_string.h"
#include "core/data/ds_types.h"

// The code by which the loader reports a document that is missing, empty or unusable.
constexpr uint32_t DS_E_DOCUMENT_UNUSABLE = 0x8200000Bu;

// Thrown when a document cannot be read on: a read past the end of its block, a count or
// length larger than the bytes that remain. The loader turns it into DS_E_DOCUMENT_UNUSABLE.
class DS_DocumentError : public std::runtime_error {
 public:
  explicit DS_DocumentError(const char* what) : std::runtime_error(what) {}
  uint32_t Code() const { return DS_E_DOCUMENT_UNUSABLE; }
};

// Smallest stored sizes, used to bound counts by the bytes that remain before allocating.
constexpr size_t DS_MIN_STRING_BYTES = 4;
constexpr size_t DS_MIN_HEADER_BYTES = DS_MIN_STRING_BYTES + 4;
constexpr size_t DS_MIN_NAMED_BLOB_BYTES = 4 + DS_MIN_STRING_BYTES;
constexpr size_t DS_MIN_RESOURCE_ENTRY_BYTES = 4 + DS_MIN_STRING_BYTES + 4 + DS_MIN_STRING_BYTES;

// The k-th read is the twin of the k-th write. Writes do nothing here; the readers implement
// the reads, the byte writer the writes.
class DS_IOF_Virtual {
 public:
  virtual ~DS_IOF_Virtual() = default;

  virtual void WriteResourceEntry(const DS_ResourceEntry&) {}
  virtual void WriteNamedBlob(const DS_NamedBlob&) {}
  virtual void WriteString(const ds_string&) {}
  virtual void WriteInt64(const int64_t&) {}
  virtual void WriteFloat(const float&) {}
  virtual void WritePoint(const DS_Point&) {}
  virtual void WriteULong(const uint32_t&) {}
  virtual void WriteUInt(const uint32_t&) {}
  virtual void WriteByte(const uint8_t&) {}
  virtual void WriteBool(const bool&) {}
  virtual void WriteInt(const int32_t&) {}

  virtual void ReadResourceEntry(DS_ResourceEntry& entry) = 0;
  virtual void ReadNamedBlob(DS_NamedBlob& blob) = 0;
  // An empty stored string leaves the target as it was.
  virtual void ReadString(ds_string& value) = 0;
  virtual void ReadInt64(int64_t& value) = 0;
  virtual void ReadFloat(float& value) = 0;
  virtual void ReadPoint(DS_Point& value) = 0;
  virtual void ReadULong(uint32_t& value) = 0;
  virtual void ReadUInt(uint32_t& value) = 0;
  virtual void ReadByte(uint8_t& value) = 0;
  // Any stored byte other than 0 reads as true: a C++ bool never receives a raw byte.
  virtual void ReadBool(bool& value) = 0;
  virtual void ReadInt(int32_t& value) = 0;

  // Bytes left to read (a writer has no end); lets readers bound counts before allocating.
  virtual size_t Remaining() const { return std::numeric_limits<size_t>::max(); }
};

// A u32 count of items that each take at least `minItemBytes` in the stream; a count that the
// remaining bytes cannot hold stops the load before anything is allocated.
uint32_t DS_ReadCount(DS_IOF_Virtual& in, size_t minItemBytes);

// The object header: class name and version.
struct DS_ObjectHeader {
  ds_string className;
  uint32_t version = 0;
};
DS_ObjectHeader DS_ReadHeader(DS_IOF_Virtual& in);
void DS_WriteHeader(DS_IOF_Virtual& out, const ds_string& className, uint32_t version);

// The reader's input: one block in memory. (Documents and library resources are always read
// from memory; there is no file-backed form.)
struct ResourceBuffer {
  const uint8_t* cursor = nullptr;  // next unread byte, or null
  const uint8_t* end = nullptr;     // one past the last byte of the block
  bool failed = false;              // sticky: set by the first read that did not fit

  ResourceBuffer() = default;
  ResourceBuffer(const void* data, size_t size)
      : cursor(static_cast<const uint8_t*>(data)), end(data ? cursor + size : nullptr) {}
  size_t Remaining() const { return cursor ? static_cast<size_t>(end - cursor) : 0; }
};

// Parses an archive string from `available` bytes at `data` into `value` (left unchanged for an
// empty string; a zero unit cuts the value, all units are still consumed). Returns the bytes
// consumed, or 0 when the string does not fit in `available`.
size_t ParseArchiveString(const uint8_t* data, size_t available, ds_string& value);

template <class Buffer>
class DS_IOF_R;

// Reads from one ResourceBuffer (not owned). A read that does not fit sets the buffer's failed
// flag and throws DS_DocumentError; its target keeps its value, and every later read fails too.
template <>
class DS_IOF_R<ResourceBuffer> final : public DS_IOF_Virtual {
 public:
  explicit DS_IOF_R(ResourceBuffer* buffer) : m_Buffer(buffer) {}

  void ReadResourceEntry(DS_ResourceEntry& entry) override;
  void ReadNamedBlob(DS_NamedBlob& blob) override;
  void ReadString(ds_string& value) override;
  void ReadInt64(int64_t& value) override { Copy(&value, 8); }
  void ReadFloat(float& value) override { Copy(&value, 4); }
  void ReadPoint(DS_Point& value) override;
  void ReadULong(uint32_t& value) override { Copy(&value, 4); }
  void ReadUInt(uint32_t& value) override { Copy(&value, 4); }
  void ReadByte(uint8_t& value) override { Copy(&value, 1); }
  void ReadBool(bool& value) override;
  void ReadInt(int32_t& value) override { Copy(&value, 4); }

  size_t Remaining() const override { return m_Buffer->failed ? 0 : m_Buffer->Remaining(); }
  bool Failed() const { return m_Buffer->failed; }

 private:
  void Copy(void* target, size_t count);
  [[noreturn]] void Fail(const char* what);
  // The blob part shared by entries and blobs: u32 n and n bytes.
  void ReadBlobBytes(std::vector<uint8_t>& bytes);

  ResourceBuffer* m_Buffer;
};

using DS_DocumentReader = DS_IOF_R<ResourceBuffer>;

// Appends the stored form of every write to a byte vector, archive strings in their shortest
// form. Used by the authoring tools and tests; its reads are not meant to be called and throw.
class DS_IOF_ByteWriter final : public DS_IOF_Virtual {
 public:
  void WriteResourceEntry(const DS_ResourceEntry& entry) override;
  void WriteNamedBlob(const DS_NamedBlob& blob) override;
  void WriteString(const ds_string& value) override;
  void WriteInt64(const int64_t& value) override { Append(&value, 8); }
  void WriteFloat(const float& value) override { Append(&value, 4); }
  void WritePoint(const DS_Point& value) override;
  void WriteULong(const uint32_t& value) override { Append(&value, 4); }
  void WriteUInt(const uint32_t& value) override { Append(&value, 4); }
  void WriteByte(const uint8_t& value) override { Append(&value, 1); }
  void WriteBool(const bool& value) override;
  void WriteInt(const int32_t& value) override { Append(&value, 4); }

  void ReadResourceEntry(DS_ResourceEntry&) override { Misuse(); }
  void ReadNamedBlob(DS_NamedBlob&) override { Misuse(); }
  void ReadString(ds_string&) override { Misuse(); }
  void ReadInt64(int64_t&) override { Misuse(); }
  void ReadFloat(float&) override { Misuse(); }
  void ReadPoint(DS_Point&) override { Misuse(); }
  void ReadULong(uint32_t&) override { Misuse(); }
  void ReadUInt(uint32_t&) override { Misuse(); }
  void ReadByte(uint8_t&) override { Misuse(); }
  void ReadBool(bool&) override { Misuse(); }
  void ReadInt(int32_t&) override { Misuse(); }

  const std::vector<uint8_t>& Bytes() const { return m_Bytes; }
  std::vector<uint8_t> TakeBytes() { return std::move(m_Bytes); }

 private:
  void Append(const void* data, size_t count);
  [[noreturn]] static void Misuse();

  std::vector<uint8_t> m_Bytes;
};
