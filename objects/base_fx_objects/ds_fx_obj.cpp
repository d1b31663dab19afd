#include "objects/base_fx_objects/ds_fx_obj.h"

#include "core/layer/ds_2d_light.h"

DS_FXObj::DS_FXObj(std::unique_ptr<DS_StatBaseFXCtrl> clone)
    : DS_ABObj(std::move(clone)), control(static_cast<DS_StatBaseFXCtrl*>(DS_ABObj::Control())) {
  geometry.control = control;
  geometry.AttachCountListener();
  control->CreateDeviceObjects();
  control->OnDeviceReset();
}

DS_FXObj::~DS_FXObj() = default;

void DS_FXObj::Update(float time) {
  geometry.Update(time);
  geometry.FillVertices();
}

void DS_FXObj::Render(DS_2D_Light& layer) {
  ID3DXEffect* effect = control->effect.Get();
  if (!effect) return;
  if (!control->PrepareRender(layer)) return;
  layer.DrawIndexedPCT(geometry, effect);
}
