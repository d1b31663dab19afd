// Resource-library access of the entries: the library's "DDS" bytes copied into the entry.
#include <windows.h>

#include "core/resources/picture_decoders.h"
#include "core/resources/resource_entry.h"
#include "core/resources/wide_path.h"

bool LoadEntryFromLibrary(DS_ResourceEntry& entry) {
  // A library that cannot be loaded gives a null module: the program's own resources.
  HMODULE module = LoadLibraryW(WidePath(entry.libraryPath));
  const void* data = nullptr;
  DWORD size = 0;
  if (!FindModuleResource(module, entry.resourceId, L"DDS", data, size)) return false;
  entry.SetData(size, data);
  return true;
}
