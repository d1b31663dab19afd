// Resource-library access of the entries: the library's "DDS" bytes copied into the entry.
#include <windows.h>

#include "core/resources/picture_decoders.h"
#include "core/resources/resource_entry.h"

bool DS_ResourceEntry::LoadFromLibrary() {
  // A library that cannot be loaded gives a null module: the program's own resources.
  HMODULE module = LoadLibraryW(libraryPath.c_str());
  const void* data = nullptr;
  DWORD size = 0;
  if (!FindModuleResource(module, resourceId, L"DDS", data, size)) return false;
  SetData(size, data);
  return true;
}
