#include "brushes/base_direction/ds_direction_based.h"

#include <cmath>

namespace {

constexpr float kPi = 3.14159265358979f;

}  // namespace

DS_DirectionBased::DS_DirectionBased() {
  InitScaled(strength, 1.0f, 0.0f, 0);
  AttachListener();
}

DS_DirectionBased::DS_DirectionBased(const DS_DirectionBased& source)
    : DS_FX_Constructor(source), strength(source.strength), angle(source.angle) {
  AttachListener();
}

void DS_DirectionBased::AttachListener() {
  listeners.SetOwner(this, false);
  DS_AttachListener2(listeners, angle, this, &DS_DirectionBased::UpdateDirection);
  UpdateDirection();
}

void DS_DirectionBased::UpdateDirection() {
  const auto degrees = static_cast<int32_t>(360u - angle.Get());
  const float radians = static_cast<float>(degrees) * kPi / 180.0f;
  direction = DS_Vector4{std::cos(radians), std::sin(radians), 0.0f, 0.0f};
}
