#include "core/layer/camera_motion.h"

#include <cmath>

namespace {
// rand() / 32767 as the wander draws it: 0..1 (RAND_MAX is 32767 on the platform).
float UnitDraw(DS_RandomSource random) { return static_cast<float>(random()) / 32767.0f; }
}  // namespace

void PickWanderTarget(DS_CameraWander& w, float now, DS_RandomSource random) {
  w.start = now;
  w.xFrom = w.xTo;
  w.yFrom = w.yTo;
  if (random() % 2 == 0) {
    w.end = w.start + 0.5f;
    return;
  }
  w.xTo = UnitDraw(random) * 2.0f - 1.0f;
  w.yTo = UnitDraw(random) * 2.0f - 1.0f;
  w.end = w.start + (UnitDraw(random) * 2.0f + 5.0f);
}

DS_CameraPose CameraPoseAt(DS_CameraWander& w, float d, bool on, bool wanders, float zoomFactor,
                           DS_RandomSource random) {
  DS_CameraPose pose;
  if (!on || !wanders) return pose;
  if (d >= w.end) PickWanderTarget(w, d, random);
  pose.zoom = zoomFactor;
  const float length = w.end - w.start;
  // A segment too short to be told from its start in single precision (a clock of millions of
  // units) is taken as finished rather than divided by zero.
  const float f = length > 0.0f ? (1.0f - std::cos(3.1415927f * (d - w.start) / length)) / 2.0f : 1.0f;
  pose.panX = w.xFrom + f * (w.xTo - w.xFrom);
  pose.panY = w.yFrom + f * (w.yTo - w.yFrom);
  return pose;
}
