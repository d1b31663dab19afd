#include "core/layer/dsm_camera_params.h"

DSM_CameraParams::DSM_CameraParams() {
  zoom.SetDefault(120);
  zoom.SetScale(0.01f, 0.0f);
  speed.SetDefault(50);
  speed.SetScale(0.02f, 0.0f);
  borderImage.StoreKey(DS_ResourceKey{u"common_res.dll", 6});
  borderImage.History().OnChanged(nullptr);
}
