#include "brushes/pattern_brush/ds_pattern_brush.h"

#include <cmath>

#include "core/data/class_registry.h"

namespace {

constexpr float kPi = 3.14159265358979f;

}  // namespace

DS_PatternBrush::DS_PatternBrush() {
  InitScaled(zoom, kZoomStep, 0.0f, 100);
  InitScaled(offsetX, -0.01f, 0.0f, 0);
  InitScaled(offsetY, 0.01f, 0.0f, 0);
  InitKind(kEffectId, 0.02f, 50);
}

void DS_PatternBrush::LoadEffect(IDirect3DTexture9* mask) {
  DS_FX_Constructor::LoadEffect(mask);
  LoadPattern();
}

void DS_PatternBrush::Advance(float t) {
  DS_FX_Constructor::Advance(t);
  const float p = speed.Phase();
  if (p - frameStart < 0.0f) frameStart = p;
  const std::vector<float>& times = pattern.frameTimes;
  if (times.empty()) return;
  // The index always runs over the frame times; it is wrapped here too, for a brush whose
  // pattern was bound again with fewer of them.
  if (times[frameIndex % times.size()] < p - frameStart) {
    frameStart = p;
    frameIndex = static_cast<uint32_t>((frameIndex + 1) % times.size());
  }
}

bool DS_PatternBrush::WillDraw() const { return pattern.height != 0 && DS_FX_Constructor::WillDraw(); }

void DS_PatternBrush::TileTransform(unsigned width, unsigned height, float m[4]) const {
  float z = zoom.Derived();
  if (!(z > 0.0f)) z = kZoomStep;  // a stored zoom of 0 would give endless tiles
  // A pattern that resolved to nothing counts as one pixel (it is never drawn then).
  const float pw = static_cast<float>(pattern.width == 0 ? 1 : pattern.width);
  const float ph = static_cast<float>(pattern.height == 0 ? 1 : pattern.height);
  float sx = static_cast<float>(width) / (pw * z);
  float sy = static_cast<float>(height) / (ph * z);
  if (flipX.Get() != 0) sx = -sx;
  if (flipY.Get() != 0) sy = -sy;
  const float theta = static_cast<float>(angle.Get()) * kPi / 180.0f;
  const float c = std::cos(theta), s = std::sin(theta);
  m[0] = sx * c;
  m[1] = sx * s;
  m[2] = -sy * s;
  m[3] = sy * c;
}

void DS_PatternBrush::CollectParameters(DS_FX_Parameters& out, unsigned width, unsigned height) const {
  out.SetPicture("Pattern", TextureIndex());
  out.Set("scale", pattern.height == 0 ? 1.0f : static_cast<float>(pattern.width) / static_cast<float>(pattern.height),
          1.0f);
  out.Set("offset", offsetX.Derived(), offsetY.Derived());
  float m[4];
  TileTransform(width, height, m);
  out.Set("coord_transf", m[0], m[1], m[2], m[3]);
}

DS_REGISTER_CONSTRUCTOR(DS_PatternBrush);
