// Arbitrary bytes read by the real readers that build for the host: as a scene document (slide
// show, slides with their layer and object lists, music files, the resource manager's record),
// as an object's view parameters, and as objects of the constructor registry. Every reader must
// stay inside the block and either read or fail with the document error (no crash, no sanitizer
// report, no huge allocation); what reads must write bytes that read again and write the same.
#include <cstddef>
#include <cstdint>

#include "core/data/class_registry.h"
#include "core/render/render_context.h"
#include "tests/core/data/fuzz/fuzz_documents.h"

namespace {

const bool g_Installed = (InstallFuzzReaders(), true);

void FuzzDocument(const uint8_t* data, size_t size) {
  VQFuzz_Document document;
  if (!ReadFuzzDocument(data, size, document)) return;
  const std::vector<uint8_t> written = WriteFuzzDocument(document);
  VQFuzz_Document again;
  if (!ReadFuzzDocument(written.data(), written.size(), again)) __builtin_trap();
  if (WriteFuzzDocument(again) != written) __builtin_trap();
}

void FuzzView(const uint8_t* data, size_t size) {
  VQFuzz_View view;
  size_t consumed = 0;
  try {
    ReadFuzzView(data, size, view, consumed);
  } catch (const DS_DocumentError&) {
    return;
  }
  const std::vector<uint8_t> written = WriteFuzzView(view);
  VQFuzz_View again;
  ReadFuzzView(written.data(), written.size(), again, consumed);
  if (consumed != written.size() || WriteFuzzView(again) != written) __builtin_trap();
  // The clone a live object keeps makes its pixel rectangle from the stored fractions, whatever
  // they hold, on a picture whose size comes from the data too.
  DS_ScreenMapping& mapping = CurrentRenderContext().mapping;
  mapping.pictureWidth = size > 0 ? data[0] * 16 : 0;
  mapping.pictureHeight = size > 1 ? data[1] * 16 : 0;
  VQFuzz_View clone(view);
  clone.RandomPoint();
  clone.rectangle.left.Set(clone.rectangle.right.Get() / 2);
  mapping.pictureWidth = mapping.pictureHeight = 0;
}

// The polymorphic reader on its own, from the first byte.
void FuzzConstructors(const uint8_t* data, size_t size) {
  ResourceBuffer buffer(data, size);
  DS_DocumentReader reader(&buffer);
  try {
    while (buffer.Remaining() > 0) {
      if (!ReadConstructorObject(reader)) break;
    }
  } catch (const DS_DocumentError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  (void)g_Installed;
  FuzzDocument(data, size);
  FuzzView(data, size);
  FuzzConstructors(data, size);
  return 0;
}
