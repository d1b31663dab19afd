// Test-only stored classes that stand in for the slide show, slides and scene objects until the
// real ones exist. They use every primitive and convention of the document format (nested base
// parts with their own versions, version-gated fields, lists of polymorphic objects read
// through the constructor registry) and are registered only in the test programs, the fuzzer
// and the benchmark.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

#include "core/data/abobj_constructor.h"
#include "core/data/class_registry.h"
#include "core/data/file_links.h"
#include "core/data/media_kinds.h"

// An intermediate base part, stored after its derived class's fields, version 2.
class VQTest_ViewBase : public DS_ABObj_Constructor {
 public:
  static constexpr uint32_t kVersion = 2;
  VQTest_ViewBase();

  // Stand-ins have no live object (that class belongs to the rendering side).
  std::unique_ptr<DS_ABObj> CreateObject() const override { throw std::logic_error("no live object"); }
  void WriteViewPart(DS_IOF_Virtual& out) const;
  void ReadViewPart(DS_IOF_Virtual& in);

  MediaRectangle rect;
  float fraction = 0.5f;
  uint8_t flagByte = 0;
  MediaSpeedParam speed;  // from version 2
};

// A scene object: own fields by version (1 to 3), then the view part.
class VQTest_Sprite final : public VQTest_ViewBase {
 public:
  static constexpr uint32_t kVersion = 3;
  VQTest_Sprite();

  void Write(DS_IOF_Virtual& out) const override;
  void ReadFields(DS_IOF_Virtual& in, uint32_t version);

  MediaColor colour{0x00112233u};
  UINTSclaleTo<uint8_t> opacity;  // transparency percent -> alpha byte
  MediaDirection direction;
  bool visible = true;
  DS_ImageFileLink picture;
  FontMediaParam font;
  MediaParamTB<DS_Point> anchor;
  MediaQuad quad;            // from version 2
  DS_NamedBlob mask;         // from version 3
  DS_ResourceEntry resource; // from version 3
};

// A slide: durations and a name, its object list (from version 2), then the base part.
class VQTest_Slide final : public DS_ABObj_Constructor {
 public:
  static constexpr uint32_t kVersion = 2;
  VQTest_Slide();

  // Stand-ins have no live object (that class belongs to the rendering side).
  std::unique_ptr<DS_ABObj> CreateObject() const override { throw std::logic_error("no live object"); }
  void Write(DS_IOF_Virtual& out) const override;
  void ReadFields(DS_IOF_Virtual& in, uint32_t version);

  MediaParamT<uint32_t> display;
  MediaParamT<ds_string> name;
  std::vector<std::unique_ptr<DS_ABObj_Constructor>> objects;
};

// A document: version tag, header "VQTest_Show" 1, slide count, slides.
struct VQTest_Show {
  std::vector<std::unique_ptr<VQTest_Slide>> slides;
};

// 0 when the document reads, DS_E_DOCUMENT_UNUSABLE when it is truncated, damaged or names a
// class no registry holds (nothing of it is kept then).
uint32_t ReadStandInDocument(const uint8_t* data, size_t size, VQTest_Show& show);
std::vector<uint8_t> WriteStandInDocument(const VQTest_Show& show);
// A synthetic document of `slides` slides with `objectsPerSlide` sprites each; blobs of
// `blobBytes` bytes make it as large as wanted.
VQTest_Show MakeSyntheticShow(int slides, int objectsPerSlide, uint32_t blobBytes);
