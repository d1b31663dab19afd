// Small value types of the scene core that stand for platform types (a 3- and 4-component
// vector, a point, a GUID). They have the platform types' layout; Windows code converts at
// the edge.
#pragma once

#include <cstdint>
#include <cstring>

struct DS_Vector3 {
  float x = 0, y = 0, z = 0;
  friend bool operator==(const DS_Vector3& a, const DS_Vector3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }
  friend bool operator!=(const DS_Vector3& a, const DS_Vector3& b) { return !(a == b); }
};

struct DS_Vector4 {
  float x = 0, y = 0, z = 0, w = 0;
};

struct DS_Point {
  int32_t x = 0, y = 0;
  friend bool operator==(const DS_Point& a, const DS_Point& b) { return a.x == b.x && a.y == b.y; }
  friend bool operator!=(const DS_Point& a, const DS_Point& b) { return !(a == b); }
};

// The layout of a Windows GUID: Data1, Data2 and Data3 are native (little-endian) numbers.
struct DS_Guid {
  uint32_t data1 = 0;
  uint16_t data2 = 0, data3 = 0;
  uint8_t data4[8] = {};
  friend bool operator==(const DS_Guid& a, const DS_Guid& b) {
    return a.data1 == b.data1 && a.data2 == b.data2 && a.data3 == b.data3 && std::memcmp(a.data4, b.data4, 8) == 0;
  }
  friend bool operator!=(const DS_Guid& a, const DS_Guid& b) { return !(a == b); }
};
static_assert(sizeof(DS_Guid) == 16, "a GUID is 16 bytes");
