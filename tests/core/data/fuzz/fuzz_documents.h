// What the document fuzzer and its seed maker share: the real readers and writers of the scene
// document that build for the host (the slide show with its slides and music files, the resource
// manager's record) and of an object's view parameters, with the slide's layer read by the host
// reader of the base layer record (its picture link and camera).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/layer/view_obj_ctrl.h"
#include "core/resources/resource_record.h"
#include "scene/ds_slide_show.h"

struct VQFuzz_Document {
  std::unique_ptr<DS_SlideShow_Light> show;
  DS_ResourceRecordTables tables;
};

// Installs the host layer reader; call before reading.
void InstallFuzzReaders();
// The whole document; false when the loader rejects it with DS_E_DOCUMENT_UNUSABLE.
bool ReadFuzzDocument(const uint8_t* data, size_t size, VQFuzz_Document& document);
// Version tag, slide show, resource manager header and record (version 3).
std::vector<uint8_t> WriteFuzzDocument(const VQFuzz_Document& document);

// The view parameters on their own: the abstract base made concrete, without a live object.
class VQFuzz_View final : public DS_ViewObjCtrl {
 public:
  VQFuzz_View() = default;
  VQFuzz_View(const VQFuzz_View& source) = default;
  std::unique_ptr<DS_ABObj> CreateObject() const override { return nullptr; }
};
// A nested "DS_ViewObjCtrl" object (header and fields); throws DS_DocumentError when cut short.
void ReadFuzzView(const uint8_t* data, size_t size, VQFuzz_View& view, size_t& consumed);
std::vector<uint8_t> WriteFuzzView(const VQFuzz_View& view);
