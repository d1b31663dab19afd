// libFuzzer target: the resource manager's record and the library image-set container, parsed
// from arbitrary bytes. The first byte picks the record version.
#include <cstddef>
#include <cstdint>

#include "core/resources/image_set_container.h"
#include "core/resources/resource_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint32_t version = data[0] % 5;
  ResourceBuffer buffer(data + 1, size - 1);
  DS_DocumentReader reader(&buffer);
  DS_ResourceRecordTables tables;
  try {
    ReadResourceRecordTables(reader, version, tables);
  } catch (const DS_DocumentError&) {
  }
  std::vector<float> times;
  std::vector<DS_ResourceEntry> entries;
  ParseImageSetContainer(data + 1, size - 1, times, entries);
  return 0;
}
