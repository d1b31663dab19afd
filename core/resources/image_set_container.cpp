#include "core/resources/image_set_container.h"

#include <utility>

void ReadDwordVector(std::vector<float>& values, ResourceBuffer& buffer) {
  DS_DocumentReader reader(&buffer);
  std::vector<float> read(DS_ReadCount(reader, 4));
  for (float& value : read) reader.ReadFloat(value);
  values = std::move(read);
}

void ReadEntryListRaw(ResourceBuffer& buffer, std::vector<DS_ResourceEntry>& entries) {
  DS_DocumentReader reader(&buffer);
  const uint32_t count = DS_ReadCount(reader, DS_MIN_RESOURCE_ENTRY_BYTES);
  std::vector<DS_ResourceEntry> read(count);
  for (DS_ResourceEntry& entry : read) reader.ReadResourceEntry(entry);
  entries = std::move(read);
}

bool ParseImageSetContainer(const void* data, size_t size, std::vector<float>& frameTimes,
                            std::vector<DS_ResourceEntry>& entries) {
  frameTimes.clear();
  entries.clear();
  ResourceBuffer buffer(data, size);
  try {
    ReadDwordVector(frameTimes, buffer);
    ReadEntryListRaw(buffer, entries);
    return true;
  } catch (const DS_DocumentError&) {
    frameTimes.clear();
    entries.clear();
    return false;
  }
}

size_t ParseResourceEntry(const uint8_t* data, size_t available, DS_ResourceEntry& entry) {
  ResourceBuffer buffer(data, available);
  DS_DocumentReader reader(&buffer);
  DS_ResourceEntry parsed = entry;
  try {
    reader.ReadResourceEntry(parsed);
  } catch (const DS_DocumentError&) {
    return 0;
  }
  entry = std::move(parsed);
  return available - buffer.Remaining();
}
