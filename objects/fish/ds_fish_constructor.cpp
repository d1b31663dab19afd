#include "objects/fish/ds_fish_constructor.h"

#include <cmath>

#include "core/data/class_registry.h"

void DS_FishConstructor::SpawnParticle(DS_Particle& p) {
  p.velocity = DS_Vec3{RandomInRange(-maxSpeedX, maxSpeedX), RandomInRange(-maxSpeedY, maxSpeedY), 0.0f};
  p.flowSign = DS_Vec3{};
  const DS_Point3 at = RandomPoint();
  p.position = DS_Vec3{at.x, at.y, at.z};
  ApplyStandardSize(p);
  p.UpdateColour(*this);
  // The sprite faces +x: mirrored while the fish swims left.
  if (p.velocity.x < 0.0f) p.halfWidth = -p.halfWidth;
}

void DS_FishConstructor::UpdateParticle(DS_Particle& p) {
  p.position.x += StepValue() * p.velocity.x;
  p.position.y += StepValue() * p.velocity.y;
  // A fish turns only once it has left the view entirely at a side, and faces its new way.
  if (p.IsOutsideLeft(*this)) {
    p.velocity.x = std::fabs(p.velocity.x);
    p.halfWidth = std::fabs(p.halfWidth);
  } else if (p.IsOutsideRight(*this)) {
    p.velocity.x = -std::fabs(p.velocity.x);
    p.halfWidth = -std::fabs(p.halfWidth);
  }
  // It bounces off the top and the bottom as soon as it reaches over them.
  if (p.position.y - p.halfHeight < PixelTop()) {
    p.velocity.y = std::fabs(p.velocity.y);
  } else if (p.TouchesBottom(*this)) {
    p.velocity.y = -std::fabs(p.velocity.y);
  }
  // Now and then (more than a second of the clock apart, whatever the speed) a new pace on the
  // same heading, so that the facing set at the sides stays right.
  if (Clock() - p.timer > 1.0f) {
    p.timer = Clock();
    if (Coin(*this)) {
      const float vx = RandomInRange(-maxSpeedX, maxSpeedX);
      p.velocity.x = std::copysign(vx, p.velocity.x);
      p.velocity.y = RandomInRange(-maxSpeedY, maxSpeedY);
      p.velocity.z = 0.0f;
    }
  }
}

DS_REGISTER_CONSTRUCTOR(DS_FishConstructor);
