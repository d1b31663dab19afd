#include "layers/slideshow/scene_document.h"

#include "core/data/ds_string.h"

namespace {

const char16_t kSlideShowClass[] = u"DS_SlideShow_Light";

}  // namespace

bool BeginsAsSceneDocument(const uint8_t* data, size_t size) {
  if (!data) return false;
  ds_string tag;
  const size_t tagBytes = ParseArchiveString(data, size, tag);
  if (tagBytes == 0) return false;
  ds_string className;
  return ParseArchiveString(data + tagBytes, size - tagBytes, className) != 0 && className == kSlideShowClass;
}

std::unique_ptr<DS_SlideShow_Light> ReadSceneDocument(const uint8_t* data, size_t size,
                                                      const DS_ManagerRecordReader& readManager,
                                                      std::string* reason) {
  if (!data || size == 0) {
    if (reason) *reason = "the document is empty";
    throw DS_E_DOCUMENT_UNUSABLE;
  }
  ResourceBuffer buffer(data, size);
  try {
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
  } catch (const DS_DocumentError& error) {
    // A read that ran past the end marked the buffer: the document was cut short.
    if (reason) *reason = buffer.failed ? std::string("the document is cut short: ") + error.what() : error.what();
    throw DS_E_DOCUMENT_UNUSABLE;
  }
}
