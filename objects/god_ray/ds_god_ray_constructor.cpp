#include "objects/god_ray/ds_god_ray_constructor.h"

#include <cmath>

#include "core/data/class_registry.h"
#include "core/render/render_context.h"

namespace {
constexpr float kDegrees = 2.0f * 3.1415927f / 360.0f;
}

void DS_GodRayConstructor::SpawnParticle(DS_Particle& p) {
  const float x = RandomInRange(PixelLeft(), PixelRight());
  p.velocity = DS_Vec3{Uniform(*this) * 20.0f - 10.0f, 0.0f, 0.0f};
  p.flowSign = DS_Vec3{};
  p.position = DS_Vec3{x, (PixelBottom() - PixelTop()) * 0.5f, 0.0f};
  p.halfWidth = static_cast<float>(baseSize.Get()) * 0.5f;
  p.halfHeight = static_cast<float>(CurrentRenderContext().mapping.pictureHeight) * 0.5f;
  // The beam spans the picture's height, slanted by the ray angle (260 slants as 80 does).
  const uint32_t angle = rayAngle.Get();
  const float a = (angle < 180 ? 180.0f - static_cast<float>(angle) : 360.0f - static_cast<float>(angle)) * kDegrees;
  p.axisB = DS_Vec3{1.0f / std::tan(a), 1.0f, 0.0f};
  p.fade = Uniform(*this);
}

void DS_GodRayConstructor::UpdateParticle(DS_Particle& p) {
  if (Phase() - p.timer > 0.25f) {
    p.timer = Phase();
    if (Coin(*this)) p.velocity = DS_Vec3{Uniform(*this) * 20.0f - 10.0f, 0.0f, 0.0f};
  }
  p.position.x += StepValue() * p.velocity.x;
  p.position.y += StepValue() * p.velocity.y;
  FadeCycle(p);
  p.UpdateColour(*this);
}

DS_REGISTER_CONSTRUCTOR(DS_GodRayConstructor);
