#include "objects/lighting/ds_lighting_constructor.h"

#include "core/data/class_registry.h"

void DS_LightingConstructor::SpawnParticle(DS_Particle& p) {
  ApplyStandardSize(p);
  const DS_Point3 at = RandomPointInset(p.halfWidth, p.halfHeight);
  p.position = DS_Vec3{at.x, at.y, at.z};
  // Turned within 22.5 degrees either way, mirrored on a coin.
  const DS_RotationZ turn = DS_RotationZ::Of(Uniform(*this) * 0.7853982f - 0.3926991f);
  const float s = Coin(*this) ? -1.0f : 1.0f;
  p.axisA = turn.Apply(DS_Vec3{s, 0.0f, 0.0f});
  p.axisB = turn.Apply(DS_Vec3{0.0f, 1.0f, 0.0f});
  p.fade = 0.0f;
}

void DS_LightingConstructor::UpdateParticle(DS_Particle& p) {
  if (p.fade == 0.0f) {
    // Resting: a chance to strike once per unit of phase.
    if (Phase() - p.timer > 1.0f) {
      p.timer = Phase();
      if (Coin(*this)) {
        SpawnParticle(p);
        p.fade = 1.0f;
      }
    }
  } else {
    // Flashing: decays at 6 per unit of phase with a chance to strike again every 0.15.
    p.fade -= StepValue() * 6.0f;
    if (Phase() - p.timer > 0.15f) {
      p.timer = Phase();
      if (Coin(*this)) p.fade = 1.0f;
    }
  }
  if (p.fade < 0.0f) {
    p.fade = 0.0f;
    p.timer = Phase();
  }
  p.UpdateColour(*this);
}

DS_REGISTER_CONSTRUCTOR(DS_LightingConstructor);
