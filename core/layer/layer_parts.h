// The record parts of the layer kinds, platform-free. Each kind keeps its own fields and their
// record list in a parameter part of its own (the kind derives from it); a kind's record is that
// part's fields, then the nested base layer. The layer registry holds the kinds themselves, which
// need the device; this map holds their parts by the kind's name, for what builds without the
// device: the content tool describes a kind's own fields from it, and the host reads a kind's own
// fields before the base layer with it.
#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "core/data/ds_record.h"
#include "core/data/ds_string.h"

class DS_LayerPartReader {
 public:
  // The part's records (its own under the kind's name), with the defaults of a new part.
  virtual DS_DeclaredRecords Describe() const = 0;
  // A new part read with the fields of `version` (the kind's header's) and dropped.
  virtual void ReadAndDrop(DS_IOF_Virtual& in, uint32_t version) const = 0;
  // A new part's fields in `version` (no header: the kind's record begins with them).
  virtual void WriteDefault(DS_IOF_Virtual& out, uint32_t version) const = 0;
  virtual uint32_t Version() const = 0;
  virtual uint32_t MinVersion() const = 0;

 protected:
  ~DS_LayerPartReader() = default;
};

// By the kind's name.
inline std::map<ds_string, const DS_LayerPartReader*>& GetLayerPartMap() {
  static std::map<ds_string, const DS_LayerPartReader*> parts;
  return parts;
}

template <class Part>
class DS_LayerPartReaderT final : public DS_LayerPartReader {
 public:
  explicit DS_LayerPartReaderT(const char* kind) : m_Kind(kind) {}
  DS_DeclaredRecords Describe() const override { return DS_DescribeRecord<Part>(m_Kind); }
  void ReadAndDrop(DS_IOF_Virtual& in, uint32_t version) const override {
    const auto part = std::make_unique<Part>();
    DS_ReadRecordFields(in, *part, version);
  }
  void WriteDefault(DS_IOF_Virtual& out, uint32_t version) const override {
    const auto part = std::make_unique<Part>();
    DS_RecordWriter writer(out, version);
    DS_WalkRecord(*part, writer);
  }
  uint32_t Version() const override { return DS_RecordVersionOf<Part>::value; }
  uint32_t MinVersion() const override { return DS_RecordMinVersionOf<Part>::value; }

 private:
  const char* m_Kind;
};

template <class Part>
struct DS_LayerPartRegistration {
  explicit DS_LayerPartRegistration(const char* kind) {
    static const DS_LayerPartReaderT<Part> reader(kind);
    GetLayerPartMap()[DsFromUtf8(kind)] = &reader;
  }
};

// In one source file of the kind that builds everywhere: DS_REGISTER_LAYER_PART(FakeLake2D, FakeLake2DParams).
#define DS_REGISTER_LAYER_PART(Kind, Part) \
  static const DS_LayerPartRegistration<Part> vq_layer_part_##Kind(#Kind)
