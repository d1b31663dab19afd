// Arbitrary bytes read as a document through the registries: the reader must stay inside the
// block and fail cleanly (no crash, no sanitizer report, no huge allocation).
#include <cstddef>
#include <cstdint>

#include "tests/core/scene_standins.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  VQTest_Show show;
  if (ReadStandInDocument(data, size, show) == 0) {
    // What reads must write back to exactly the bytes consumed, tag aside.
    const auto written = WriteStandInDocument(show);
    VQTest_Show again;
    if (ReadStandInDocument(written.data(), written.size(), again) != 0) __builtin_trap();
  }
  // The polymorphic reader on its own, from the first byte.
  ResourceBuffer buffer(data, size);
  DS_DocumentReader reader(&buffer);
  try {
    while (buffer.Remaining() > 0) {
      if (!ReadConstructorObject(reader)) break;
    }
  } catch (const DS_DocumentError&) {
  }
  return 0;
}
