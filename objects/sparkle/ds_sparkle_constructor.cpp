#include "objects/sparkle/ds_sparkle_constructor.h"

#include "core/data/class_registry.h"

void DS_SparkleConstructor::SpawnParticle(DS_Particle& p) {
  const float vx = Uniform(*this) * 50.0f - 25.0f;
  const float vy = Uniform(*this) * 50.0f - 25.0f;
  p.velocity = DS_Vec3{vx, vy, 0.0f};
  p.flowSign = DS_Vec3{};
  const DS_Point3 at = RandomPoint();
  p.position = DS_Vec3{at.x, at.y, at.z};
  p.fade = Uniform(*this);
}

void DS_SparkleConstructor::UpdateParticle(DS_Particle& p) {
  p.position.x += StepValue() * p.velocity.x;
  p.position.y += StepValue() * p.velocity.y;
  FadeCycle(p);
  p.UpdateColour(*this);
  // Half the size when faded out, the whole size at full fade.
  const float d = p.sizeFactor * static_cast<float>(baseSize.Get()) * 0.5f;
  p.halfWidth = d * 0.5f + d * 0.5f * p.fade;
  p.halfHeight = d * 0.5f + p.fade * p.halfWidth * 0.5f;
}

DS_REGISTER_CONSTRUCTOR(DS_SparkleConstructor);
