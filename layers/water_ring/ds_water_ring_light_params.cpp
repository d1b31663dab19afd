#include "layers/water_ring/ds_water_ring_light_params.h"

#include "core/layer/layer_parts.h"

DS_REGISTER_LAYER_PART(DS_WaterRingLight, DS_WaterRingLightParams);

DS_WaterRingLightParams::DS_WaterRingLightParams() {
  dropRate.SetScale(1.0f / 60.0f, 0.0f);
  dropRate.SetDefault(30);
  dropRate.OnChanged(nullptr);
  specular.SetScale(0.01f, 0.0f);
  specular.SetDefault(90);
  specular.OnChanged(nullptr);
  shininess.SetScale(0.8f, 0.0f);
  shininess.SetDefault(50);
  shininess.OnChanged(nullptr);
}
