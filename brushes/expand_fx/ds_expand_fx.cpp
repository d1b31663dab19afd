#include "brushes/expand_fx/ds_expand_fx.h"

#include <cmath>

#include "core/data/class_registry.h"

DS_ExpandFX::DS_ExpandFX() {
  InitScaled(outward, 0.005f, 0.0f, 50);
  InitScaled(inward, 0.005f, 0.0f, 0);
  InitKind(kEffectId, 0.02f, 50);
}

void DS_ExpandFX::Advance(float t) {
  DS_FX_Constructor::Advance(t);
  const float hi = outward.Derived(), lo = inward.Derived();
  const float a = (hi + lo) * 0.5f, b = (hi - lo) * 0.5f;
  float w;
  if (mode.Get() != kTriangle) {
    w = std::sin(speed.Phase());
  } else {
    // One period per 2 pi of phase, from -1 up to 1 and back.
    const double f = static_cast<double>(speed.Phase()) / 6.283185307179586;
    const auto r = static_cast<float>(f - std::floor(f));
    const float s = r <= 0.5f ? r : 1.0f - r;
    w = (s - 0.25f) * 4.0f;
  }
  amount = w * a + b;
}

void DS_ExpandFX::CollectParameters(DS_FX_Parameters& out, unsigned, unsigned) const {
  if (amount > 0.0f)
    out.Set("amplitude", amount, 0.0f);
  else
    out.Set("amplitude", 0.0f, std::fabs(amount));
  float c[2];
  CentreFractions(c);
  out.Set("center", c[0], c[1]);
}

DS_REGISTER_CONSTRUCTOR(DS_ExpandFX);
