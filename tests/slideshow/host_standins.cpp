#include "tests/slideshow/host_standins.h"

#include "core/data/class_registry.h"
#include "core/layer/layer_parts.h"
#include "scene/ds_slide_container.h"

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

DS_RefPtr<DS_2D_Light> ReadHostLayer(DS_IOF_Virtual& in) {
  const DS_ObjectHeader header = DS_ReadHeader(in);
  // A kind's own fields are read with its platform-free part and dropped: the stand-in keeps the
  // base layer of every kind.
  const auto part = GetLayerPartMap().find(header.className);
  if (part != GetLayerPartMap().end()) {
    part->second->ReadAndDrop(in, header.version);
    return ReadHostLayer(in);
  }
  if (header.className != u"DS_2D_Light") return DS_RefPtr<DS_2D_Light>();
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
