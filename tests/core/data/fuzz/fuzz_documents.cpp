#include "tests/core/data/fuzz/fuzz_documents.h"

#include "scene/scene_document.h"
#include "tests/support/host_standins.h"

void InstallFuzzReaders() { InstallHostSlideParts(); }

bool ReadFuzzDocument(const uint8_t* data, size_t size, VQFuzz_Document& document) {
  DS_ResourceRecordTables tables;
  try {
    document.show = ReadSceneDocument(data, size, [&](DS_IOF_Virtual& in, uint32_t version) {
      ReadResourceRecordTables(in, version, tables);
    });
  } catch (uint32_t code) {
    if (code != DS_E_DOCUMENT_UNUSABLE) throw;
    return false;
  }
  document.tables = std::move(tables);
  return true;
}

std::vector<uint8_t> WriteFuzzDocument(const VQFuzz_Document& document) {
  DS_IOF_ByteWriter out;
  out.WriteString(u"QXJ v 4.0.0");
  document.show->Write(out);
  DS_WriteHeader(out, u"DS_DocResManager", 3);
  const DS_ResourceRecordTables& t = document.tables;
  WriteResourceRecordTables(out, t.pictureEntries, t.frameTimes, t.savedResources, t.pendingMasks);
  return out.TakeBytes();
}

void ReadFuzzView(const uint8_t* data, size_t size, VQFuzz_View& view, size_t& consumed) {
  ResourceBuffer buffer(data, size);
  DS_DocumentReader reader(&buffer);
  view.ReadObject(reader);
  consumed = size - buffer.Remaining();
}

std::vector<uint8_t> WriteFuzzView(const VQFuzz_View& view) {
  DS_IOF_ByteWriter out;
  view.WriteObject(out);
  return out.TakeBytes();
}
