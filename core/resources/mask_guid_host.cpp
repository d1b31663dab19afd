// Fresh mask GUIDs where COM is absent (the host build of the platform-free code): distinct,
// made from a process-wide counter.
#include "core/resources/mask_entry.h"

DS_MaskEntry MakeNewMaskEntry() {
  static uint64_t counter = 0;
  DS_MaskEntry entry;
  uint64_t n = ++counter;
  for (int i = 0; i < 8; ++i, n >>= 8) entry.id.data4[i] = static_cast<uint8_t>(n);
  entry.id.data3 = 0x4000;  // the version nibble of a random GUID
  return entry;
}
