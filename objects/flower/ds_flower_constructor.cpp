#include "objects/flower/ds_flower_constructor.h"

#include <cmath>

#include "core/data/class_registry.h"
#include "objects/base_particles/sway.h"

void DS_FlowerConstructor::UpdateParticle(DS_Particle& p) {
  const float e = SwayLean(std::sin(Phase() + p.velocity.y), swayAmplitude);
  p.axisB = rotationMatrix.Apply(DS_Vec3{e, 1.0f, 0.0f});
  // The foot stays on the placement's centre while the top leans.
  p.position.x = static_cast<float>(placement.further1.Get()) - p.axisA.x * p.halfHeight * e;
  p.position.y = static_cast<float>(placement.further2.Get()) - p.axisA.y * p.halfHeight * e;
}

DS_REGISTER_CONSTRUCTOR(DS_FlowerConstructor);
