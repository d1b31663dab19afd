#include "core/layer/view_fractions.h"

#include <cmath>

#include "core/render/layout_maths.h"

float FractionOfPixel(int pixel, int size, float current) {
  if (size == 0) return current;
  return static_cast<float>(pixel) / static_cast<float>(size);
}

int PixelOfFraction(float fraction, int size) { return TruncateToInt(fraction * static_cast<float>(size)); }

DS_PixelRect PixelRectOf(const DS_ViewFractions& f, int width, int height) {
  const float w = static_cast<float>(width), h = static_cast<float>(height);
  return {f.left * w, f.right * w, f.top * h, f.bottom * h};
}

void DS_ViewTimeStep::Step(float t, unsigned speed) {
  const float d = std::fabs(t - lastTime);
  frameTime = d < kMaxFrameTime ? d : kMaxFrameTime;
  step = (d < kMaxStepTime ? d : kMaxStepTime) * static_cast<float>(speed) * kSpeedScale;
  phase += step;
  lastTime = t;
}

DS_Point3 RandomPointIn(float loX, float hiX, float loY, float hiY, DS_RandomSource random) {
  DS_Point3 p;
  p.x = loX + static_cast<float>(random()) / 32767.0f * (hiX - loX);
  p.y = loY + static_cast<float>(random()) / 32767.0f * (hiY - loY);
  p.z = 0.0f;
  return p;
}
