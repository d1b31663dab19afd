#include "layers/lake/fake_lake_2d_params.h"

#include "core/layer/layer_parts.h"

DS_REGISTER_LAYER_PART(FakeLake2D, FakeLake2DParams);

FakeLake2DParams::FakeLake2DParams() {
  speed.SetDefault(50);
  speed.SetScale(0.02f, 0.0f);
  waveTiling.SetDefault(100);
  waveTiling.SetScale(0.01f, 0.0f);
  reflectionShare.SetDefault(25);
  reflectionShare.SetScale(-0.005f, 0.5f);
  bumpFade.SetDefault(100);
  bumpFade.SetScale(0.01f, 0.0f);
  tintAlpha.SetDefault(31);
  tintAlpha.SetScale(0.008f, 0.0f);
  tintFade.SetDefault(58);
  tintFade.SetScale(0.01f, 0.0f);
}
