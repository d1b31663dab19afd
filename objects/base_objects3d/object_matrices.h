// The matrix makers of the 3D objects' controllers, returning their matrix; angles in degrees,
// converted as degrees x 2 x 3.1415927 / 360. Row vectors: A x B applies A first.
#pragma once

#include <d3dx9math.h>

inline float DegreesToRadians(float degrees) { return degrees * 2.0f * 3.1415927f / 360.0f; }

inline D3DXMATRIX RotationXDegrees(float degrees) {
  D3DXMATRIX m;
  D3DXMatrixRotationX(&m, DegreesToRadians(degrees));
  return m;
}
inline D3DXMATRIX RotationYDegrees(float degrees) {
  D3DXMATRIX m;
  D3DXMatrixRotationY(&m, DegreesToRadians(degrees));
  return m;
}
inline D3DXMATRIX RotationZDegrees(float degrees) {
  D3DXMATRIX m;
  D3DXMatrixRotationZ(&m, DegreesToRadians(degrees));
  return m;
}
inline D3DXMATRIX TranslationMatrix(float x, float y, float z) {
  D3DXMATRIX m;
  D3DXMatrixTranslation(&m, x, y, z);
  return m;
}
inline D3DXMATRIX ScalingMatrix(float x, float y, float z) {
  D3DXMATRIX m;
  D3DXMatrixScaling(&m, x, y, z);
  return m;
}
inline D3DXMATRIX ScalingMatrix(float s) { return ScalingMatrix(s, s, s); }
