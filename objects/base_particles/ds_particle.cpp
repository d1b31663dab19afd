#include "objects/base_particles/ds_particle.h"

#include <cmath>
#include <utility>

#include "core/data/media_kinds.h"
#include "objects/base_sprite_prop/ds_base_sprite_prop.h"

float Uniform(const DS_BaseSpriteProp& control) { return static_cast<float>(control.random()) / 32767.0f; }
bool Coin(const DS_BaseSpriteProp& control) { return (control.random() & 1) != 0; }

DS_RotationZ DS_RotationZ::Of(float angle) { return DS_RotationZ{std::cos(angle), std::sin(angle)}; }

DS_Vec3 DS_RotationZ::Apply(const DS_Vec3& v) const { return DS_Vec3{v.x * c - v.y * s, v.x * s + v.y * c, v.z}; }

DS_Particle::DS_Particle(DS_BaseSpriteProp& control, float pictureAspect) {
  // A picture without size (none, or one that failed to decode) counts as square.
  aspect = std::isfinite(pictureAspect) && pictureAspect > 0.0f ? pictureAspect : 1.0f;
  if (control.sheetAnimation) aspect *= static_cast<float>(control.SheetFrames());
  position = DS_Vec3{100.0f, 100.0f, 0.0f};
  sizeFactor = control.sizeMin + Uniform(control) * (control.sizeMax - control.sizeMin);
  SetStandardSize(sizeFactor * static_cast<float>(control.baseSize.Get()) * 0.5f);
}

void DS_Particle::SetStandardSize(float extent) {
  if (aspect < 1.0f) {
    halfWidth = extent;
    halfHeight = aspect * extent;
  } else {
    halfHeight = extent;
    halfWidth = extent / aspect;
  }
}

void DS_Particle::Reset(DS_BaseSpriteProp& control) {
  fade = 1.0f;
  timer = delayEnd = delayClock = 0.0f;
  wrapped = 0;
  waiting = false;
  boundEdge = -1;
  fadeRate = control.fadeRate;
  if (Coin(control)) fadeRate = -fadeRate;
  UpdateColour(control);
}

void DS_Particle::UpdateColour(const DS_BaseSpriteProp& control) {
  // A fade above 1 wraps in the low byte (255 x 1.5 gives 126); NaN gives 0.
  colour = control.colour.ToArgb(DS_FloatToLowByte(static_cast<float>(control.Opacity()) * fade));
}

DS_Vec3 DS_Particle::GetCorner() const {
  return DS_Vec3{position.x - halfWidth * axisA.x - halfHeight * axisB.x,
                 position.y - halfWidth * axisA.y - halfHeight * axisB.y,
                 position.z - halfWidth * axisA.z - halfHeight * axisB.z};
}

bool DS_Particle::IsOutsideLeft(const DS_BaseSpriteProp& c) const { return position.x + std::fabs(halfWidth) < c.PixelLeft(); }
bool DS_Particle::IsOutsideRight(const DS_BaseSpriteProp& c) const { return position.x - std::fabs(halfWidth) > c.PixelRight(); }
bool DS_Particle::IsOutsideTop(const DS_BaseSpriteProp& c) const { return position.y + std::fabs(halfHeight) < c.PixelTop(); }
bool DS_Particle::IsOutsideBottom(const DS_BaseSpriteProp& c) const {
  return position.y - std::fabs(halfHeight) > c.PixelBottom();
}
bool DS_Particle::TouchesTop(const DS_BaseSpriteProp& c) const { return position.y - halfHeight < c.PixelTop(); }
bool DS_Particle::TouchesBottom(const DS_BaseSpriteProp& c) const { return position.y + halfHeight > c.PixelBottom(); }
bool DS_Particle::TouchesLeft(const DS_BaseSpriteProp& c) const { return position.x - halfWidth < c.PixelLeft(); }
bool DS_Particle::TouchesRight(const DS_BaseSpriteProp& c) const { return position.x + halfWidth > c.PixelRight(); }

void DS_SpriteSheetClock::Advance(DS_BaseSpriteProp& control, float phase) {
  if (!control.sheetAnimation) return;
  // A rate of 0 (or less) never switches.
  if (control.sheetFrameRate > 0.0f && 1.0f / control.sheetFrameRate < phase - sheetTime) {
    sheetFrame = control.NextFrame(sheetFrame);
    sheetTime = phase;
  } else if (sheetTime > phase) {
    sheetTime = 0.0f;
  }
}

void DS_SpriteSheetClock::USpan(const DS_BaseSpriteProp& control, float& a0, float& a1) const {
  const float f = 1.0f / static_cast<float>(control.SheetFrames());
  a0 = static_cast<float>(sheetFrame) * f;
  a1 = static_cast<float>(sheetFrame + 1) * f;
  if (control.flipHorizontal.Get() != 0) std::swap(a0, a1);
}

void WriteSpriteVertices(const DS_Particle& p, const DS_BaseSpriteProp& control, const DS_SpriteSheetClock& sheet,
                         DX_V::PCT* v) {
  const DS_Vec3 c = p.GetCorner();
  const float ax = 2.0f * p.halfWidth * p.axisA.x, ay = 2.0f * p.halfWidth * p.axisA.y, az = 2.0f * p.halfWidth * p.axisA.z;
  const float bx = 2.0f * p.halfHeight * p.axisB.x, by = 2.0f * p.halfHeight * p.axisB.y,
              bz = 2.0f * p.halfHeight * p.axisB.z;
  float b0 = p.texTop, b1 = p.texBottom, a0 = p.texLeft, a1 = p.texRight;
  if (control.flipVertical.Get() != 0) std::swap(b0, b1);
  if (control.flipHorizontal.Get() != 0) std::swap(a0, a1);
  if (control.sheetAnimation) sheet.USpan(control, a0, a1);
  const float xs[4] = {c.x + bx, c.x, c.x + ax + bx, c.x + ax};
  const float ys[4] = {c.y + by, c.y, c.y + ay + by, c.y + ay};
  const float zs[4] = {c.z + bz, c.z, c.z + az + bz, c.z + az};
  const float us[4] = {a0, a0, a1, a1};
  const float vs[4] = {b1, b0, b1, b0};
  for (int i = 0; i < 4; ++i) v[i] = DX_V::PCT{xs[i], ys[i], zs[i], p.colour, us[i], vs[i]};
}

void WriteSpriteIndices(uint32_t n, uint16_t* indices) {
  for (uint32_t j = 0; j < n; ++j) {
    const auto base = static_cast<uint16_t>(4 * j);
    const uint16_t six[6] = {base, static_cast<uint16_t>(base + 1), static_cast<uint16_t>(base + 2),
                             static_cast<uint16_t>(base + 2), static_cast<uint16_t>(base + 1),
                             static_cast<uint16_t>(base + 3)};
    for (int k = 0; k < 6; ++k) indices[6 * j + k] = six[k];
  }
}
