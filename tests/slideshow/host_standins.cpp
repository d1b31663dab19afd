#include "tests/slideshow/host_standins.h"

#include "core/data/class_registry.h"
#include "layers/slideshow/ds_slide_container.h"

int g_HostLayersDestroyed = 0;

DS_2D_Light::~DS_2D_Light() { ++g_HostLayersDestroyed; }

void VQTest_Recorder::Write(DS_IOF_Virtual& out) const {
  DS_WriteHeader(out, u"VQTest_Recorder", 1);
  WriteObject(out);
}

void VQTest_Recorder::ReadFields(DS_IOF_Virtual& in, uint32_t) { ReadBase(in); }

DS_REGISTER_CONSTRUCTOR(VQTest_Recorder);

namespace {

void ReadKey(DS_IOF_Virtual& in, DS_ResourceKey& key) {
  ds_string name;
  in.ReadString(name);
  in.ReadInt64(key.stamp);
  key.name = name;
}

// The own fields of a layer kind, ahead of its nested base part, passed over; false for a class
// the host does not know. One entry per kind: its 32-bit values by version, then any key.
bool SkipLayerKindFields(DS_IOF_Virtual& in, const DS_ObjectHeader& header) {
  int words = 0;
  bool key = false;
  if (header.className == u"DS_WaterRingLight") {
    words = header.version > 1 ? 10 : 1;
  } else if (header.className == u"DS_MatrixCodeLight") {
    words = 9;
    key = header.version > 1;
  } else {
    return false;
  }
  for (int32_t i = 0, value = 0; i < words; ++i) in.ReadInt(value);
  DS_ResourceKey skipped;
  if (key) ReadKey(in, skipped);
  return true;
}

DS_RefPtr<DS_2D_Light> ReadHostLayer(DS_IOF_Virtual& in) {
  DS_ObjectHeader header = DS_ReadHeader(in);
  if (header.className != u"DS_2D_Light") {
    if (!SkipLayerKindFields(in, header)) return DS_RefPtr<DS_2D_Light>();
    header = DS_ReadHeader(in);  // the nested base layer
  }
  auto layer = std::make_unique<DS_2D_Light>();
  if (header.version > 1) ReadKey(in, layer->picture);
  if (header.version > 2) {
    const uint32_t cameraVersion = DS_ReadHeader(in).version;
    in.ReadInt(layer->cameraMode);
    in.ReadUInt(layer->zoom);
    in.ReadUInt(layer->speed);
    if (cameraVersion > 1) ReadKey(in, layer->border);
  }
  return DS_RefPtr<DS_2D_Light>(std::move(layer));
}

void WriteHostLayer(const DS_2D_Light& layer, DS_IOF_Virtual& out) {
  DS_WriteHeader(out, u"DS_2D_Light", 3);
  out.WriteString(layer.picture.name);
  out.WriteInt64(layer.picture.stamp);
  DS_WriteHeader(out, u"DSM_Camera", 2);
  out.WriteInt(layer.cameraMode);
  out.WriteUInt(layer.zoom);
  out.WriteUInt(layer.speed);
  out.WriteString(layer.border.name);
  out.WriteInt64(layer.border.stamp);
}

}  // namespace

void InstallHostSlideParts() {
  DS_SlidePartsIO io;
  io.readLayer = &ReadHostLayer;
  io.writeLayer = &WriteHostLayer;
  DS_SetSlidePartsIO(io);
}
