// The value types in which the document carries its resources, as far as the document stream
// reads them: a named block of bytes and one resource entry (embedded bytes, a file path, or an
// id in a resource library). The bytes are owned; an empty vector means "no bytes".
#pragma once

#include <cstdint>
#include <vector>

#include "core/data/ds_string.h"

struct DS_NamedBlob {
  ds_string name;
  std::vector<uint8_t> bytes;

  bool HasBytes() const { return !bytes.empty(); }
  const uint8_t* Data() const { return bytes.empty() ? nullptr : bytes.data(); }
  uint32_t Size() const { return static_cast<uint32_t>(bytes.size()); }

  // A different name drops the bytes, which belonged to the old name; the same name keeps them.
  void SetName(const ds_string& newName) {
    if (newName == name) return;
    bytes.clear();
    name = newName;
  }
  // Replaces the bytes with a copy of `size` bytes at `data` (none when size is 0).
  void SetData(uint32_t size, const void* data) {
    const auto* first = static_cast<const uint8_t*>(data);
    if (size == 0 || first == nullptr) {
      bytes.clear();
      return;
    }
    bytes.assign(first, first + size);
  }
  void Clear() {
    bytes.clear();
    name.clear();
  }
};

struct DS_ResourceEntry : DS_NamedBlob {
  int32_t resourceId = 0;
  ds_string libraryPath;

  DS_ResourceEntry() = default;
  DS_ResourceEntry(int id, const ds_string& library) : resourceId(id), libraryPath(library) {}
  explicit DS_ResourceEntry(const ds_string& entryName) { name = entryName; }
};
