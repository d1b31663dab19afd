#include "brushes/waves_fx/ds_waves_fx.h"

#include <cmath>

#include "core/data/class_registry.h"

namespace {

constexpr float kPi = 3.14159265358979f;

}  // namespace

DS_WavesFX::DS_WavesFX() {
  InitScaled(amplitude, 0.00025f, 0.0f, 50);
  InitScaled(wavelength, 0.0005f, 0.001f, 50);
  InitKind(kEffectId, 1.0f, 25);
  AttachListeners();
}

DS_WavesFX::DS_WavesFX(const DS_WavesFX& source)
    : DS_FX_Constructor(source),
      amplitude(source.amplitude),
      wavelength(source.wavelength),
      angle(source.angle),
      secondDirection(source.secondDirection) {
  AttachListeners();
}

void DS_WavesFX::AttachListeners() {
  listeners.SetOwner(this, false);
  DS_AttachListener2(listeners, angle, this, &DS_WavesFX::UpdateDirections);
  DS_AttachListener2(listeners, secondDirection, this, &DS_WavesFX::UpdateDirections);
  UpdateDirections();
}

void DS_WavesFX::UpdateDirections() {
  // Row vectors turned about z by 360 degrees minus the angle: (1, 0) -> (c, s), (0, 1) -> (-s, c).
  const auto degrees = static_cast<int32_t>(360u - angle.Get());
  const float radians = static_cast<float>(degrees) * kPi / 180.0f;
  const float c = std::cos(radians), s = std::sin(radians);
  direction = DS_Vector4{c, s, 0.0f, 0.0f};
  directionN = secondDirection.Get() == 0 ? DS_Vector4{-s, c, 0.0f, 0.0f} : DS_Vector4{-c, -s, 0.0f, 0.0f};
}

void DS_WavesFX::CollectParameters(DS_FX_Parameters& out, unsigned, unsigned) const {
  out.Set("direction", -direction.x, -direction.y);
  out.Set("direction_n", directionN.x, directionN.y);
  out.Set("frequency", 1.0f / wavelength.Derived());
  out.Set("amplitude", amplitude.Derived());
  out.Set("time", speed.Phase() * 0.08f);
}

DS_REGISTER_CONSTRUCTOR(DS_WavesFX);
