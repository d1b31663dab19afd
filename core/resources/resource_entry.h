// The value types in which a document carries its resources: a named block of bytes and one
// resource as the document names it (embedded bytes, a file path, or an id in a library).
#pragma once

#include <cstdint>
#include <vector>

#include "core/resources/core_bridge.h"

// A named block of bytes. An empty byte vector means "no bytes" (size 0).
struct DS_NamedBlob {
  ds_string name;
  std::vector<uint8_t> bytes;

  bool HasBytes() const { return !bytes.empty(); }
  const uint8_t* Data() const { return bytes.empty() ? nullptr : bytes.data(); }
  uint32_t Size() const { return static_cast<uint32_t>(bytes.size()); }

  // A different name drops the bytes, which belonged to the old name; the same name keeps them.
  void SetName(const ds_string& newName);
  // Replaces the bytes with a copy of `size` bytes at `data` (none when size is 0).
  void SetData(uint32_t size, const void* data);
  void Clear();
};

// One resource of the document. Read by the decoders as:
//  - a name and bytes: embedded (the name is only a label);
//  - a name and no bytes: the name is a file path;
//  - an empty name: resource `resourceId` of the library at `libraryPath` (empty: the program).
struct DS_ResourceEntry : DS_NamedBlob {
  int32_t resourceId = 0;
  ds_string libraryPath;

  DS_ResourceEntry() = default;
  DS_ResourceEntry(int id, const ds_string& library) : resourceId(id), libraryPath(library) {}
  explicit DS_ResourceEntry(const ds_string& entryName) { name = entryName; }

  // Replaces the bytes with the library's "DDS" resource (low 16 bits of the id). A library that
  // cannot be loaded searches the program's own resources. False, entry unchanged, when missing.
  // Windows only; the library is never freed.
  bool LoadFromLibrary();
};

// The part of a path after its last backslash; empty when the path has none.
ds_string GetFileNamePart(const ds_string& path);

// Whether a resource name designates a resource library: its extension, lower-cased, is ".dll".
bool NamesResourceLibrary(const ds_string& name);
