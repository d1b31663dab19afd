// The motion of the layer camera, without device or parameters: the wander segments between
// random pan targets and the zoom and pan they give at a moment of the camera clock (the phase
// of the camera's speed). Platform-free, so the host tests run it too.
#pragma once

// One wander segment: the pan glides from (xFrom, yFrom) to (xTo, yTo), values in -1..1, over
// start..end of the camera clock.
struct DS_CameraWander {
  float xFrom = 0.0f, xTo = 0.0f;
  float yFrom = 0.0f, yTo = 0.0f;
  float start = 0.0f, end = 0.0f;

  void Clear() { *this = DS_CameraWander(); }
};

// The random source of the wander (rand in the program; a fixed sequence in tests).
using DS_RandomSource = int (*)();

// Starts the next segment at `now`: an even draw holds still for half a unit of the clock, an
// odd one picks new targets and a glide of 5 to 7 units.
void PickWanderTarget(DS_CameraWander& wander, float now, DS_RandomSource random);

// What the camera sets on the view: zoom factor and pan point.
struct DS_CameraPose {
  float zoom = 1.0f;
  float panX = 0.0f, panY = 0.0f;
};

// The pose at clock value d. Only a camera that is on and wanders moves; it picks a new segment
// when d has reached the end of the current one, and eases between the segment's ends with a
// half cosine.
DS_CameraPose CameraPoseAt(DS_CameraWander& wander, float d, bool on, bool wanders, float zoomFactor,
                           DS_RandomSource random);
