// The glass ball's arithmetic, without the device: the texels of its lens bump map, rim mask and
// backdrop gradient, the lens constants, the picture scales, and the scroll and sway that every
// glass-ball layer of the process shares. The layer (ds_glass_ball_light.h) builds its textures
// and transforms from these; the host tests run them too.
#pragma once

#include <cstdint>

// Lens bump map, 256 x 256 V16U16: the slopes of a hemisphere of radius 128 about (128, 128), U in
// the low half of the texel, V in the high half, each a signed 16-bit number.
constexpr int kGlassBumpSize = 256;
std::uint32_t GlassBumpTexel(int x, int y);

// Rim mask, 1024 x 1024 A8: 0 inside the circle of radius 508 about (512, 512), 255 outside.
constexpr int kRimMaskSize = 1024;
std::uint8_t RimMaskTexel(int i, int j);

// Backdrop gradient, 256 rows: row y from the top colour (y 0) to the bottom colour (y 255), both
// 0x00BBGGRR words, as an A8R8G8B8 texel of alpha 0.
constexpr int kGradientSize = 256;
std::uint32_t GradientTexel(std::uint32_t top, std::uint32_t bottom, int y);

struct DS_LensConstants {
  float cameraDistance;  // the eye's z, negative
  float magnification;   // G
  float swayAmplitude;
};
// From the ball size and lens strength (percent) and the view scale sx and picture scale ky. A
// product sx x ky of 0 (a picture of no size) or one that is not finite counts as 1.
DS_LensConstants ComputeLensConstants(unsigned size, unsigned lens, float sx, float ky);

// The share of a picture extent in the extent widened by its whole-pixel margin on both sides:
// extent / (extent + 2 (trunc(low) + 1)); 1 for an extent that leaves nothing to share.
float MarginScale(float extent, float low);

// The scroll every glass-ball layer of the process shares.
struct DS_GlassBallScroll {
  float phase = 0.0f;
  float previousTime = 0.0f;
  bool started = false;  // the first scrolling update takes its time as the previous one
};
extern DS_GlassBallScroll g_GlassBallScroll;

// Phase += (t - previous) x speed factor x 0.0625; previous := t.
void AdvanceGlassBallScroll(DS_GlassBallScroll& scroll, float time, float speedFactor);
// Scroll modes 1 and 2: the left edges A and B of the two scroll quads of width W.
void ScrollQuadEdges(int mode, float phase, float width, float& a, float& b);
// Mode 3: a triangle wave between -1 and 1 over phase 2 (32 s at speed factor 1), 1 at phase 0.
float SwayValue(float phase);
