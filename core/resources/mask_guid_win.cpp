#include <objbase.h>

#include <cstring>

#include "core/resources/mask_entry.h"

DS_MaskEntry MakeNewMaskEntry() {
  DS_MaskEntry entry;
  GUID guid{};
  CoCreateGuid(&guid);
  static_assert(sizeof(guid) == sizeof(entry.id), "a GUID is 16 bytes");
  std::memcpy(entry.id.data(), &guid, sizeof(guid));
  return entry;
}
