#include <objbase.h>

#include <cstring>

#include "core/resources/mask_entry.h"

DS_MaskEntry MakeNewMaskEntry() {
  DS_MaskEntry entry;
  GUID guid{};
  CoCreateGuid(&guid);
  static_assert(sizeof(guid) == sizeof(entry.id), "a GUID is 16 bytes");
  entry.id.data1 = guid.Data1;
  entry.id.data2 = guid.Data2;
  entry.id.data3 = guid.Data3;
  std::memcpy(entry.id.data4, guid.Data4, sizeof(guid.Data4));
  return entry;
}
