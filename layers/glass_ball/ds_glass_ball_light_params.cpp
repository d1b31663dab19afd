#include "layers/glass_ball/ds_glass_ball_light_params.h"

#include "core/layer/layer_parts.h"

DS_REGISTER_LAYER_PART(DS_GlassBallLight, DS_GlassBallLightParams);

DS_GlassBallLightParams::DS_GlassBallLightParams() {
  const struct {
    DS_ImageFileLink& link;
    int id;
  } links[] = {{overlayA, 58}, {overlayB, 59}, {stand, 60}, {ballPicture, 5}};
  for (const auto& l : links) {
    l.link.StoreKey(DS_ResourceKey{u"common_res.dll", l.id});
    l.link.History().OnChanged(nullptr);
  }
  scrollSpeed.SetDefault(0);
  scrollSpeed.SetScale(0.02f, 1.0f);
}
