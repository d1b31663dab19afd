#include "core/layer/layer_record.h"

bool ReadRecordHeader(DS_ByteCursor& stream, DS_RecordHeader& header) {
  return stream.ReadArchiveString(header.className) && stream.ReadU32(header.version);
}

bool ReadLinkKey(DS_ByteCursor& stream, DS_ResourceKey& key) {
  // The link's name is replaced even by an empty stored name, so read into a scratch key.
  DS_ResourceKey scratch;
  if (!stream.ReadArchiveString(scratch.name) || !stream.ReadI64(scratch.stamp)) return false;
  key = scratch;
  return true;
}
