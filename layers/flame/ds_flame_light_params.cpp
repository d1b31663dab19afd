#include "layers/flame/ds_flame_light_params.h"

#include "core/layer/layer_parts.h"

DS_REGISTER_LAYER_PART(DS_FlameLight, DS_FlameLightParams);

DS_HeatDistortionValues::DS_HeatDistortionValues()
    : bumpLink(DS_FileLink3(kBumpPictureId, u"common_res.dll")), effectLink(kEffectId, u"common_res.dll") {
  speed.SetScale(0.001f, 0.0f);
  speed.Set(50);
  strength.SetScale(0.002f, 0.0f);
  strength.Set(25);
  bumpScale.SetScale(-0.009f, 1.0f);
  bumpScale.Set(88);
}
