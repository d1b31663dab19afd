#include "objects/fog/ds_fog_constructor.h"

#include <cmath>

#include "core/data/class_registry.h"

DS_FogConstructor::DS_FogConstructor() {
  fadeMin = 0.2f;
  fadeMax = 1.0f;
  transparency.Set(50);
}

void DS_FogConstructor::SpawnParticle(DS_Particle& p) {
  const DS_Point3 at = RandomPoint();
  p.position = DS_Vec3{at.x, at.y, at.z};
  const float vx = RandomInRange(-driftX, driftX);
  const float vy = RandomInRange(-driftY, driftY);
  p.velocity.x = vx;
  p.velocity.y = vy;
  p.fade = Uniform(*this);
  p.spin = DS_RotationZ::Of(Uniform(*this) * 0.008f - 0.004f);
}

void DS_FogConstructor::UpdateParticle(DS_Particle& p) {
  p.position.x += StepValue() * p.velocity.x;
  p.position.y += StepValue() * p.velocity.y;
  // The fade turns round at both ends; fog is never recycled.
  p.fade += StepValue() * p.fadeRate;
  if (p.fade < fadeMin) {
    p.fade = fadeMin;
    p.fadeRate = -p.fadeRate;
  } else if (p.fade > fadeMax) {
    p.fade = fadeMax;
    p.fadeRate = -p.fadeRate;
  }
  if (p.position.y > PixelBottom()) p.velocity.y = -std::fabs(p.velocity.y);
  if (p.position.y < PixelTop()) p.velocity.y = std::fabs(p.velocity.y);
  if (p.position.x < PixelLeft()) p.velocity.x = std::fabs(p.velocity.x);
  if (p.position.x > PixelRight()) p.velocity.x = -std::fabs(p.velocity.x);
  // The patch turns by its angle at every update, whatever the frame time.
  p.axisA = p.spin.Apply(p.axisA);
  p.axisB = p.spin.Apply(p.axisB);
  p.UpdateColour(*this);
}

DS_REGISTER_CONSTRUCTOR(DS_FogConstructor);
