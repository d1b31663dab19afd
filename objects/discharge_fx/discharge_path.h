// The path of an electric discharge: a chain of straight segments from a start point to an end
// point, each turned aside at random by up to the jitter, and the blend between two such paths
// that the drawn chain follows while one path gives way to the next. Platform-free: the host
// tests run all of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/layer/camera_motion.h"
#include "objects/base_particles/ds_particle.h"

// One piece of a path, in picture pixels.
struct DS_DischargeSegment {
  DS_Vec3 centre;
  DS_Vec3 direction;  // unit, along the segment
  DS_Vec3 normal;     // unit, across the whole discharge
  float length = 0.0f;
};
static_assert(sizeof(DS_DischargeSegment) == 40, "a segment is ten floats");

// v / |v|; a zero vector (or one too short to have a length in floats) stays zero, so that a
// discharge whose two ends meet has no NaN in its vertices.
DS_Vec3 NormaliseOrZero(const DS_Vec3& v);

// Fills every segment of `path` from `start` to `end`. Each segment takes the remaining distance
// shared evenly by the segments still to come, along the remaining way turned aside by two
// random numbers in -jitter..jitter (drawn from `random` in that order, rand() / 32767 each);
// the last segment goes straight and so ends on the end point. The normal is the same for every
// segment: the whole discharge turned a quarter to the right.
void GenerateDischargePath(std::vector<DS_DischargeSegment>& path, const DS_Vec3& start, const DS_Vec3& end,
                           float jitter, DS_RandomSource random);

// from + t x (to - from), over all ten floats (no renormalising).
DS_DischargeSegment BlendSegments(const DS_DischargeSegment& from, const DS_DischargeSegment& to, float t);
