#include "brushes/water_fx/ds_water_fx.h"

#include <cmath>

#include "core/data/class_registry.h"

namespace {

constexpr float kPi = 3.14159265358979f;

}  // namespace

DS_WaterFX::DS_WaterFX() : colour(0xFFFFFF), bumpLink(DS_FileLink3(kBumpPictureId, u"common_res.dll")) {
  InitScaled(shapeFactor, 0.0001f, 0.0f, 20);
  InitScaled(bumpScale, 0.001f, 0.0f, 20);
  InitScaled(amplitude, 0.00025f, 0.0f, 20);
  InitScaled(wavelength, 0.0005f, 0.001f, 20);
  InitScaled(shadows, 0.01f, 0.0f, 0);
  InitScaled(halfVectorZ, 0.1f, 0.0f, 0);
  InitKind(kEffectId, 0.02f, 50);
  scaleFactor.Set(30);
  AttachListener();
}

DS_WaterFX::DS_WaterFX(const DS_WaterFX& source)
    : DS_FX_Constructor(source),
      shapeFactor(source.shapeFactor),
      bumpScale(source.bumpScale),
      amplitude(source.amplitude),
      wavelength(source.wavelength),
      angle(source.angle),
      shadows(source.shadows),
      halfVectorZ(source.halfVectorZ),
      colour(source.colour),
      bumpLink(source.bumpLink) {
  // The copy binds its own bump picture; its transform follows its first Advance.
  AttachListener();
}

DS_WaterFX::~DS_WaterFX() = default;

void DS_WaterFX::AttachListener() {
  listeners.SetOwner(this, false);
  DS_AttachListener2(listeners, angle, this, &DS_WaterFX::UpdateDirection);
  UpdateDirection();
}

void DS_WaterFX::UpdateDirection() {
  // (1, 0) turned about z by the angle itself.
  const float radians = static_cast<float>(angle.Get()) * kPi / 180.0f;
  direction = DS_Vector4{std::cos(radians), std::sin(radians), 0.0f, 0.0f};
}

void DS_WaterFX::Advance(float t) {
  speed.Update(t);
  const float h = speed.Phase() * 0.5f;
  const float beta = 9.0f * h;
  const float w = bumpScale.Derived();
  bumpTransform[0] = w * std::cos(beta);
  bumpTransform[1] = -w * std::sin(beta);
  bumpTransform[2] = w * std::sin(beta);
  bumpTransform[3] = w * std::cos(beta);
}

float DS_WaterFX::ShapeSlope(float u) {
  const float q = 2.0f / u - 1.0f;
  if (!(q > 0.0f) || q == 1.0f) return 1.0f;
  const float s = (std::sqrt(q) + q) / (q - 1.0f);
  return std::isfinite(s) ? s : 1.0f;
}

void DS_WaterFX::CollectParameters(DS_FX_Parameters& out, unsigned, unsigned) const {
  const float u = shapeFactor.Derived();
  const float a = wavelength.Derived();
  const float c = amplitude.Derived();
  const float hz = halfVectorZ.Derived();
  const float length = std::sqrt(5.0f + hz * hz);  // of (1, 2, hz)
  const uint32_t rgb = colour.Get();
  out.SetPicture("BumpMap", 0);
  out.Set("BampTrans", bumpTransform[0], bumpTransform[1], bumpTransform[2], bumpTransform[3]);
  out.Set("P1", u - 1.0f, -1.0f, u - 1.0f);
  out.Set("P2", 1.0f, ShapeSlope(u), 1.0f);
  out.Set("Time", 2.0f * speed.Phase());
  out.Set("Direction1", -0.5f * direction.x / a, -0.5f * direction.y / a);
  out.Set("Direction2", -0.5f * c * direction.x, -0.5f * c * direction.y);
  out.Set("Shadows", shadows.Derived());
  out.Set("Vhalf", 1.0f / length, 2.0f / length, hz / length);
  out.Set("Color", static_cast<float>(rgb & 0xFF) / 255.0f, static_cast<float>((rgb >> 8) & 0xFF) / 255.0f,
          static_cast<float>((rgb >> 16) & 0xFF) / 255.0f);
}

DS_REGISTER_CONSTRUCTOR(DS_WaterFX);
