// The arithmetic of an object's view rectangle: fractions of the picture size and the picture
// pixels they stand for, the per-frame time step, and random points inside the rectangle.
// Platform-free, so the host tests run it too.
#pragma once

#include "core/layer/camera_motion.h"

struct DS_ViewFractions {
  float left = 0.0f, right = 1.0f, top = 0.0f, bottom = 1.0f;
};

// pixel / size. A picture of size 0 (one that failed to decode) has no fractions to give: the
// current fraction is kept, so an object made on such a picture keeps its rectangle for later.
float FractionOfPixel(int pixel, int size, float current);
// trunc(fraction x size), NaN and out-of-range values made safe (0, clamped).
int PixelOfFraction(float fraction, int size);

// The rectangle in picture pixels for a W x H picture, as single-precision floats.
struct DS_PixelRect {
  float left, right, top, bottom;
};
DS_PixelRect PixelRectOf(const DS_ViewFractions& f, int width, int height);

// The per-frame step of a parameter set: the measured gap is capped at 0.1 s as the frame time
// and at 0.2 s for the step in units of speed x 0.02 per second.
struct DS_ViewTimeStep {
  float step = 0.0f;
  float phase = 0.0f;
  float frameTime = 0.0f;
  float lastTime = 0.0f;

  static constexpr float kMaxFrameTime = 0.1f;
  static constexpr float kMaxStepTime = 0.2f;
  static constexpr float kSpeedScale = 0.02f;
  void Step(float t, unsigned speed);
};

// A random point of lo..hi on each axis, x drawn first; z is 0.
struct DS_Point3 {
  float x, y, z;
};
DS_Point3 RandomPointIn(float loX, float hiX, float loY, float hiY, DS_RandomSource random);
