#include "layers/slideshow/scene_document.h"

#include "core/data/ds_string.h"

std::unique_ptr<DS_SlideShow_Light> ReadSceneDocument(const uint8_t* data, size_t size,
                                                      const DS_ManagerRecordReader& readManager) {
  if (!data || size == 0) throw DS_E_DOCUMENT_UNUSABLE;
  try {
    ResourceBuffer buffer(data, size);
    ds_string tag;
    const size_t tagBytes = ParseArchiveString(buffer.cursor, buffer.Remaining(), tag);
    if (tagBytes == 0) throw DS_DocumentError("the version tag does not fit");
    buffer.cursor += tagBytes;

    DS_DocumentReader reader(&buffer);
    auto show = ReadSlideShowObject(reader);
    // A show without a slide has nothing to make current; its resources are not decoded.
    if (show->Slides().empty()) throw DS_DocumentError("the document holds no slide");
    const DS_ObjectHeader manager = DS_ReadHeader(reader);
    readManager(reader, manager.version);
    return show;
  } catch (const DS_DocumentError&) {
    throw DS_E_DOCUMENT_UNUSABLE;
  }
}
