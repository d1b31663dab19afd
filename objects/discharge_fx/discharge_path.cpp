#include "objects/discharge_fx/discharge_path.h"

#include <cmath>

namespace {

DS_Vec3 Sub(const DS_Vec3& a, const DS_Vec3& b) { return DS_Vec3{a.x - b.x, a.y - b.y, a.z - b.z}; }
DS_Vec3 Add(const DS_Vec3& a, const DS_Vec3& b) { return DS_Vec3{a.x + b.x, a.y + b.y, a.z + b.z}; }
DS_Vec3 Scale(const DS_Vec3& a, float k) { return DS_Vec3{a.x * k, a.y * k, a.z * k}; }
float Length(const DS_Vec3& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }
DS_Vec3 Lerp(const DS_Vec3& a, const DS_Vec3& b, float t) { return Add(a, Scale(Sub(b, a), t)); }

float RandomIn(float a, float b, DS_RandomSource random) {
  return a + static_cast<float>(random()) / 32767.0f * (b - a);
}

}  // namespace

DS_Vec3 NormaliseOrZero(const DS_Vec3& v) {
  const float length = Length(v);
  if (!(length > 0.0f) || !std::isfinite(length)) return DS_Vec3{};
  return Scale(v, 1.0f / length);
}

void GenerateDischargePath(std::vector<DS_DischargeSegment>& path, const DS_Vec3& start, const DS_Vec3& end,
                           float jitter, DS_RandomSource random) {
  const size_t n = path.size();
  const DS_Vec3 whole = Sub(end, start);
  const DS_Vec3 normal = NormaliseOrZero(DS_Vec3{whole.y, -whole.x, 0.0f});
  DS_Vec3 q = start;
  for (size_t g = 0; g < n; ++g) {
    const DS_Vec3 remaining = Sub(end, q);
    const float length = Length(remaining) / static_cast<float>(n - g);
    DS_Vec3 way = remaining;
    if (g + 1 != n) {
      const float r1 = RandomIn(-jitter, jitter, random);
      const float r2 = RandomIn(-jitter, jitter, random);
      way = DS_Vec3{remaining.x + r1 * remaining.y, remaining.y + r2 * remaining.x, 2.0f * remaining.z};
    }
    DS_DischargeSegment& segment = path[g];
    segment.direction = NormaliseOrZero(way);
    segment.normal = normal;
    const DS_Vec3 p = Add(q, Scale(segment.direction, length));
    segment.centre = Scale(Add(q, p), 0.5f);
    segment.length = length;
    q = p;
  }
}

DS_DischargeSegment BlendSegments(const DS_DischargeSegment& from, const DS_DischargeSegment& to, float t) {
  DS_DischargeSegment s;
  s.centre = Lerp(from.centre, to.centre, t);
  s.direction = Lerp(from.direction, to.direction, t);
  s.normal = Lerp(from.normal, to.normal, t);
  s.length = from.length + t * (to.length - from.length);
  return s;
}
