#include "layers/glass_ball/glass_ball_maths.h"

#include <cmath>

#include "core/data/media_kinds.h"

// Process-wide: every glass-ball layer of every output scrolls with the one phase.
DS_GlassBallScroll g_GlassBallScroll;

namespace {

// Height of the hemisphere at the squared distance d from its centre.
double HemisphereHeight(int x, int y) {
  const int d = (x - 128) * (x - 128) + (y - 128) * (y - 128);
  return d <= 16384 ? std::sqrt(static_cast<double>(16384 - d)) : 0.0;
}

std::uint16_t SlopeWord(double rise) {
  const float value = static_cast<float>(std::atan(rise) * 16297.4658203125);
  return static_cast<std::uint16_t>(static_cast<std::int16_t>(DS_FloatToInt32(value)));
}

}  // namespace

std::uint32_t GlassBumpTexel(int x, int y) {
  const double h0 = HemisphereHeight(x, y);
  const bool lastColumn = x == kGlassBumpSize - 1;
  const int x1 = lastColumn ? x : x + 1, y1 = lastColumn ? y : y + 1;
  const double h1 = HemisphereHeight(x1, y), h2 = HemisphereHeight(x, y1);
  return static_cast<std::uint32_t>(SlopeWord(h0 - h1)) | static_cast<std::uint32_t>(SlopeWord(h0 - h2)) << 16;
}

std::uint8_t RimMaskTexel(int i, int j) {
  const int d = (i - 512) * (i - 512) + (j - 512) * (j - 512);
  return d <= 258064 ? 0 : 255;
}

std::uint32_t GradientTexel(std::uint32_t top, std::uint32_t bottom, int y) {
  const float t = static_cast<float>(y) / 255.0f;
  std::uint32_t channels[3];
  for (int c = 0; c < 3; ++c) {
    const float from = static_cast<float>((top >> (8 * c)) & 0xFF), to = static_cast<float>((bottom >> (8 * c)) & 0xFF);
    channels[c] = static_cast<std::uint32_t>(DS_FloatToInt32(t * (to - from) + from)) & 0xFF;
  }
  return channels[0] << 16 | channels[1] << 8 | channels[2];
}

DS_LensConstants ComputeLensConstants(unsigned size, unsigned lens, float sx, float ky) {
  float scale = sx * ky;
  if (!std::isfinite(scale) || scale == 0.0f) scale = 1.0f;
  const float s = static_cast<float>(size), l = static_cast<float>(lens);
  DS_LensConstants c;
  c.cameraDistance = -600.0f / (s * 0.75f / 100.0f + 0.25f) / scale;
  c.magnification = (scale * s / 100.0f * 1.105f + 0.385f) * 1.05f * (l * 0.5f / 100.0f + 1.0f);
  c.swayAmplitude = l * 0.5f * 0.125f / 100.0f + 0.125f;
  return c;
}

float MarginScale(float extent, float low) {
  const float whole = extent + 2.0f * (static_cast<float>(DS_FloatToInt32(low)) + 1.0f);
  if (!std::isfinite(extent) || !std::isfinite(whole) || whole == 0.0f) return 1.0f;
  return extent / whole;
}

void AdvanceGlassBallScroll(DS_GlassBallScroll& scroll, float time, float speedFactor) {
  if (!scroll.started) {
    scroll.previousTime = time;
    scroll.started = true;
  }
  scroll.phase += (time - scroll.previousTime) * speedFactor * 0.0625f;
  scroll.previousTime = time;
}

void ScrollQuadEdges(int mode, float phase, float width, float& a, float& b) {
  const float f = mode == 1 ? -phase * 0.5f : phase * 0.5f;
  const float frac = f - std::floor(f);
  a = width * frac;
  b = -width * (1.0f - frac);
}

float SwayValue(float phase) {
  const float s = phase * 0.5f;
  return std::fabs((s - std::floor(s)) * 2.0f - 1.0f) * 2.0f - 1.0f;
}
