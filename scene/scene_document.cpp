#include "scene/scene_document.h"

#include "core/data/ds_string.h"

namespace {

// The three bytes every written archive string begins with.
bool BeginsAsArchiveString(const uint8_t* data, size_t size) {
  return size >= 4 && data[0] == 0xFF && data[1] == 0xFE && data[2] == 0xFF;
}

}  // namespace

bool BeginsAsSceneDocument(const uint8_t* data, size_t size) {
  // A scene document opens with two strings, its version tag and its root object's class name
  // (whatever that name is, the loader reads past it), then the root's version. A layer document
  // opens with one string, its class name, followed by its version, which is a small number and
  // never a string's opening bytes.
  if (!data) return false;
  ds_string tag;
  const size_t tagBytes = ParseArchiveString(data, size, tag);
  if (tagBytes == 0 || !BeginsAsArchiveString(data + tagBytes, size - tagBytes)) return false;
  ds_string className;
  const size_t classBytes = ParseArchiveString(data + tagBytes, size - tagBytes, className);
  return classBytes != 0 && size - tagBytes - classBytes >= 4;
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
