// The scene document: an archive-string version tag (not compared), the slide show object and
// the resource manager object, nothing before or between them; bytes after them are ignored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/data/ds_stream.h"
#include "scene/ds_slide_show.h"

// Reads the manager's record after its header, with the header's version.
using DS_ManagerRecordReader = std::function<void(DS_IOF_Virtual& in, uint32_t version)>;

// Whether the bytes begin as a scene document: a version tag, then the root object's header (a
// class name of any text and a version). Anything else (a layer record, which begins with its
// class name and version, an empty or cut tag or header) is no scene document at all.
bool BeginsAsSceneDocument(const uint8_t* data, size_t size);

// Reads a whole document from `size` bytes at `data`. A missing, empty, truncated or damaged
// document, one that names a class no registry holds and one without a slide are rejected by
// throwing the unsigned code DS_E_DOCUMENT_UNUSABLE (0x8200000B), with what was wrong in
// `reason` when one is given; the manager reader is then either not called or its result is to
// be dropped by the caller.
std::unique_ptr<DS_SlideShow_Light> ReadSceneDocument(const uint8_t* data, size_t size,
                                                      const DS_ManagerRecordReader& readManager,
                                                      std::string* reason = nullptr);

#ifdef _WIN32
class DS_DocResManager;

// The same over a document in memory, with a new resource manager. On success the show owns the
// manager, which is also stored in g_DocResManager; on failure g_DocResManager is left as it was
// and the code is thrown.
std::unique_ptr<DS_SlideShow_Light> LoadSceneFromBytes(const uint8_t* data, size_t size,
                                                       std::string* reason = nullptr);
// The program's own document, resource "DDS" 107.
std::unique_ptr<DS_SlideShow_Light> LoadSceneDocument();
#endif
