#include "brushes/rotation_fx/ds_rotation_fx.h"

#include <cmath>

#include "core/data/class_registry.h"

namespace {

constexpr float kPi = 3.14159265358979f;

// Row-vector turn about z: (1, 0) -> (cos, sin).
struct Matrix2 {
  float m11, m12, m21, m22;
};

Matrix2 Turn(float radians) {
  const float c = std::cos(radians), s = std::sin(radians);
  return {c, s, -s, c};
}

Matrix2 Product(const Matrix2& a, const Matrix2& b) {
  return {a.m11 * b.m11 + a.m12 * b.m21, a.m11 * b.m12 + a.m12 * b.m22,
          a.m21 * b.m11 + a.m22 * b.m21, a.m21 * b.m12 + a.m22 * b.m22};
}

}  // namespace

DS_RotationFX::DS_RotationFX() {
  InitScaled(speed, 0.005f, 0.0f, 0);
  InitScaled(aspect, 0.001f, 0.0f, 0);
}

void DS_RotationFX::Advance(float t) {
  DS_FX_Constructor::Advance(t);
  rotation = mode.Get() == 0 ? speed.Phase() : -speed.Phase();
}

void DS_RotationFX::Transform(float m[4]) const {
  // An aspect of 0 would divide by zero: it turns on a circle, as an aspect of 1 does.
  float a = aspect.Derived();
  if (a == 0.0f) a = 1.0f;
  Matrix2 turn = Turn(rotation);
  turn.m12 *= a;
  turn.m21 /= a;
  const float axis = static_cast<float>(axisAngle.Get()) * kPi / 180.0f;
  const Matrix2 result = Product(Product(Turn(-axis), turn), Turn(axis));
  m[0] = result.m11;
  m[1] = result.m12;
  m[2] = result.m21;
  m[3] = result.m22;
}

void DS_RotationFX::CollectParameters(DS_FX_Parameters& out, unsigned, unsigned) const {
  float m[4];
  Transform(m);
  out.Set("coord_transf", m[0], m[1], m[2], m[3]);
  float c[2];
  CentreFractions(c);
  out.Set("offset", -c[0], -c[1]);
}

DS_REGISTER_CONSTRUCTOR(DS_RotationFX);
