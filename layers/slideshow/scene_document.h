// The scene document: an archive-string version tag (not compared), the slide show object and
// the resource manager object, nothing before or between them; bytes after them are ignored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "core/data/ds_stream.h"
#include "layers/slideshow/ds_slide_show.h"

// Reads the manager's record after its header, with the header's version.
using DS_ManagerRecordReader = std::function<void(DS_IOF_Virtual& in, uint32_t version)>;

// Reads a whole document from `size` bytes at `data`. A missing, empty, truncated or damaged
// document, one that names a class no registry holds and one without a slide are rejected by
// throwing the unsigned code DS_E_DOCUMENT_UNUSABLE (0x8200000B); the manager reader is then
// either not called or its result is to be dropped by the caller.
std::unique_ptr<DS_SlideShow_Light> ReadSceneDocument(const uint8_t* data, size_t size,
                                                      const DS_ManagerRecordReader& readManager);

#ifdef _WIN32
class DS_DocResManager;

// The same over a document in memory, with a new resource manager. On success the manager is
// stored in g_DocResManager and the caller takes it over; on failure g_DocResManager is left as
// it was and the code is thrown.
std::unique_ptr<DS_SlideShow_Light> LoadSceneFromBytes(const uint8_t* data, size_t size);
// The program's own document, resource "DDS" 107.
std::unique_ptr<DS_SlideShow_Light> LoadSceneDocument();
#endif
