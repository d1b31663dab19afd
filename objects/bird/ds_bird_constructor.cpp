#include "objects/bird/ds_bird_constructor.h"

#include <cmath>

#include "core/data/class_registry.h"

void DS_BirdConstructor::UpdateParticle(DS_Particle& p) {
  DS_FishConstructor::UpdateParticle(p);
  constexpr float kFloor = 0.7f, kRest = 0.3f;
  // A vertical speed below the floor is pushed into 0.4 to 1.0 of the largest, downwards.
  if (std::fabs(p.velocity.y) < kFloor * maxSpeedY) p.velocity.y = kFloor * maxSpeedY + p.velocity.y * kRest / kFloor;
  // The horizontal speed never drops below the floor; the heading (and so the facing) stays.
  if (std::fabs(p.velocity.x) < kFloor * maxSpeedX)
    p.velocity.x = std::copysign(RandomInRange(kFloor * maxSpeedX, maxSpeedX), p.velocity.x);
}

DS_REGISTER_CONSTRUCTOR(DS_BirdConstructor);
