// Resource entries as the decoders read them (the types themselves come with the document
// stream): the path helpers and, on Windows, the copy of a library resource into an entry.
//
// An entry is read as:
//  - a name and bytes: embedded (the name is only a label);
//  - a name and no bytes: the name is a file path;
//  - an empty name: resource `resourceId` of the library at `libraryPath` (empty: the program).
#pragma once

#include "core/data/ds_named_blob.h"
#include "core/data/ds_string.h"

// The part of a path after its last backslash; empty when the path has none.
ds_string GetFileNamePart(const ds_string& path);

// Whether a resource name designates a resource library: its extension, lower-cased, is ".dll".
bool NamesResourceLibrary(const ds_string& name);

// Replaces the entry's bytes with the "DDS" resource (low 16 bits of the id) of the library at
// its library path; a library that cannot be loaded searches the program's own resources. False,
// entry unchanged, when the resource is missing. Windows only; the library is never freed.
bool LoadEntryFromLibrary(DS_ResourceEntry& entry);
