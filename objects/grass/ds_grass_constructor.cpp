#include "objects/grass/ds_grass_constructor.h"

#include <cmath>

#include "core/data/class_registry.h"
#include "core/render/render_context.h"
#include "objects/base_particles/sway.h"

void DS_GrassConstructor::SpawnParticle(DS_Particle& p) {
  const float x = RandomInRange(PixelLeft(), PixelRight());
  const float swayPhase = Uniform(*this) * 1.5707964f;
  const float mirror = Coin(*this) ? -1.0f : 1.0f;
  // The blade stands on the bottom edge; its root x and sway phase ride in the velocity.
  p.position = DS_Vec3{x, PixelBottom() - p.halfHeight, 0.0f};
  p.velocity.z = x;
  p.velocity.y = swayPhase;
  p.axisA = DS_Vec3{mirror, 0.0f, 0.0f};
}

void DS_GrassConstructor::UpdateParticle(DS_Particle& p) {
  // The wave runs across the picture; a picture without width has no place along it.
  const int pictureWidth = CurrentRenderContext().mapping.pictureWidth;
  const float across = pictureWidth > 0 ? p.position.x / static_cast<float>(pictureWidth) : 0.0f;
  const float d = std::sin(Phase() + p.velocity.y + across * 2.0f * 3.1415927f);
  p.axisB = DS_Vec3{SwayLean(d, swayAmplitude), 1.0f, 0.0f};
  // The foot stays on the root while the top leans.
  p.position.x = p.velocity.z - p.axisB.x * p.halfHeight;
}

DS_REGISTER_CONSTRUCTOR(DS_GrassConstructor);
