#include "brushes/light_fx/ds_light_fx.h"

#include <cmath>

#include "core/data/class_registry.h"
#include "core/resources/noise.h"

DS_LightFX::DS_LightFX() {
  InitScaled(intensity, 0.01f, 0.0f, 40);
  InitKind(kEffectId, 1.0f, 40);
}

float DS_LightFX::Multiplier() const {
  const float p = speed.Phase();
  float m;
  if (mode.Get() < kFlicker) {
    m = (std::sin(0.2f * p) + 1.0f) * 0.5f;
    if (mode.Get() == kBlink) m = m > 0.5f ? 1.0f : 0.0f;
  } else {
    m = static_cast<float>((FractalNoise1D(10.0 * p, 75.0, 0.5, 2) + 1.0) * 0.5);
  }
  return intensity.Derived() * m;
}

void DS_LightFX::CollectParameters(DS_FX_Parameters& out, unsigned, unsigned) const {
  out.Set("multiplier", Multiplier());
}

DS_REGISTER_CONSTRUCTOR(DS_LightFX);
