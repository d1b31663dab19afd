// libFuzzer target: the resource manager's record, the library image-set container and the
// bump-format DDS header, parsed from arbitrary bytes. The first byte picks the record version.
#include <cstddef>
#include <cstdint>

#include "core/resources/dds_layout.h"
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
  DS_DdsLayout layout;
  ParseDdsLayout(data + 1, size - 1, layout);
  return 0;
}
