#include "tests/support/host_standins.h"

#include "core/data/class_registry.h"
#include "core/layer/ds_2d_light_params.h"
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
  // The base layer through its record list, its values kept on the stand-in.
  DS_2D_LightParams params;
  DS_ReadRecordFields(in, params, header.version);
  auto layer = std::make_unique<DS_2D_Light>();
  layer->picture = params.PictureLink().Key();
  layer->cameraMode = params.Camera().mode.Get();
  layer->zoom = params.Camera().zoom.Get();
  layer->speed = params.Camera().speed.Get();
  layer->border = params.Camera().borderImage.Key();
  return DS_RefPtr<DS_2D_Light>(std::move(layer));
}

void WriteHostLayer(const DS_2D_Light& layer, DS_IOF_Virtual& out) {
  DS_2D_LightParams params;
  params.PictureLink().StoreKey(layer.picture);
  params.Camera().mode.Set(layer.cameraMode);
  params.Camera().zoom.Set(layer.zoom);
  params.Camera().speed.Set(layer.speed);
  params.Camera().borderImage.StoreKey(layer.border);
  DS_WriteRecord(out, params, "DS_2D_Light");
}

}  // namespace

void InstallHostSlideParts() {
  DS_SlidePartsIO io;
  io.readLayer = &ReadHostLayer;
  io.writeLayer = &WriteHostLayer;
  DS_SetSlidePartsIO(io);
}
