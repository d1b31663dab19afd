#include "brushes/move_fx/ds_move_fx.h"

#include <cmath>

#include "core/data/class_registry.h"
#include "core/resources/noise.h"

DS_MoveFX::DS_MoveFX() {
  InitKind(kEffectId, 0.02f, 50);
  InitScaled(strength, 0.0002f, 0.0f, 50);
}

void DS_MoveFX::Advance(float t) {
  DS_FX_Constructor::Advance(t);
  const double p = speed.Phase();
  const float m = mode.Get() == kNoise ? static_cast<float>(FractalNoise1D(50.0 * p, 75.0, 0.5, 1))
                                       : static_cast<float>(std::sin(p));
  const float v = strength.Derived() * m;
  displacement[0] = v * direction.x;
  displacement[1] = v * direction.y;
}

void DS_MoveFX::CollectParameters(DS_FX_Parameters& out, unsigned, unsigned) const {
  out.Set("Direction", displacement[0], displacement[1]);
}

DS_REGISTER_CONSTRUCTOR(DS_MoveFX);
