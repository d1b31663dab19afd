#include "layers/lake/lake_maths.h"

#include <cmath>

#include "core/data/media_kinds.h"

void LakePictureQuad(float width, float height, DS_LakeQuad& out) {
  out[0] = {0.0f, height, 1.0f, 0.0f, 1.0f};
  out[1] = {0.0f, 0.0f, 1.0f, 0.0f, 0.0f};
  out[2] = {width, height, 1.0f, 1.0f, 1.0f};
  out[3] = {width, 0.0f, 1.0f, 1.0f, 0.0f};
}

void MirrorQuad(DS_LakeQuad& quad, float s) {
  const float bottom = quad[0].y, top = quad[1].y;
  const float vBottom = quad[0].v, vTop = quad[1].v;
  const float horizon = top + (1.0f - s) * (bottom - top);
  const float vHorizon = vBottom + s * (vTop - vBottom);
  const float vFar = vBottom + 2.0f * s * (vTop - vBottom);
  quad[1].y = quad[3].y = horizon;
  quad[1].v = quad[3].v = vHorizon;
  quad[0].v = quad[2].v = vFar;
}

int LakeStripHeight(unsigned strip, const DS_LakeQuad& mirrored, float pictureHeight, float s) {
  if (!(s > 0.0f)) return 0;
  const float height = pictureHeight > 0.0f ? pictureHeight : 1.0f;
  return DS_FloatToInt32(static_cast<float>(strip) * ((mirrored[2].y - mirrored[1].y) / height) / s);
}

void SetWaveMeshFromQuad(const DS_LakeQuad& quad, DS_WaveVertex (&vertices)[6]) {
  static const int kCorners[6] = {1, 0, 2, 1, 2, 3};
  for (int i = 0; i < 6; ++i) {
    const DX_V::PT& c = quad[kCorners[i]];
    vertices[i].x = c.x;
    vertices[i].y = c.y;
    vertices[i].z = 0.0f;
    vertices[i].u1 = c.u;
    vertices[i].v1 = c.v;
  }
}

void SetWaveTiling(float tiling, DS_WaveVertex (&vertices)[6]) {
  const float low = 0.01f;
  const float uv[6][2] = {{low, low}, {low, tiling}, {tiling, tiling}, {low, low}, {tiling, tiling}, {tiling, low}};
  for (int i = 0; i < 6; ++i) {
    vertices[i].u0 = uv[i][0];
    vertices[i].v0 = uv[i][1];
  }
}

void InitialWaveVertices(DS_WaveVertex (&vertices)[6]) {
  const DS_WaveVertex initial[6] = {
      {-1000.0f, -500.0f, 10.0f, 0.0f, 0.7f, 0.0f, 0.0f},  {-1000.0f, 0.0f, 1000.0f, 0.0f, 0.0f, 0.0f, 0.7f},
      {1000.0f, 0.0f, 1000.0f, 1.0f, 0.0f, 1.0f, 0.7f},    {-1000.0f, -500.0f, 10.0f, 0.0f, 0.7f, 0.0f, 0.0f},
      {1000.0f, 0.0f, 1000.0f, 1.0f, 0.0f, 1.0f, 0.7f},    {1000.0f, -500.0f, 10.0f, 1.0f, 0.7f, 1.0f, 0.0f},
  };
  for (int i = 0; i < 6; ++i) vertices[i] = initial[i];
}

void LakeBumpMatrix(float phase, float (&matrix)[4]) {
  const float half = 0.5f * phase;
  const float angle = 9.0f * half;
  const float c = 0.04f * std::cos(angle), s = 0.04f * std::sin(angle);
  matrix[0] = c;
  matrix[1] = -s;
  matrix[2] = s;
  matrix[3] = c;
}

std::uint32_t LakeTintColour(std::uint32_t colour) {
  return ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}

DS_LakeAlphas LakeAlphas(float tintAlpha, float tintFade) { return {tintAlpha, tintAlpha * (1.0f - tintFade)}; }

void LakeBumpFromHeights(const std::uint8_t* heights, int width, int height, float amplitude,
                         std::vector<std::int8_t>& out) {
  out.assign(static_cast<size_t>(width > 0 && height > 0 ? width * height * 2 : 0), 0);
  if (out.empty()) return;
  auto at = [&](int x, int y) {
    x = (x + width) % width;
    y = (y + height) % height;
    return static_cast<float>(heights[static_cast<size_t>(y) * width + x]) / 255.0f;
  };
  auto signedByte = [](float v) { return static_cast<std::int8_t>(std::lround(v * 127.0f)); };
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const float sx = amplitude * 0.5f * (at(x + 1, y) - at(x - 1, y));
      const float sy = amplitude * 0.5f * (at(x, y + 1) - at(x, y - 1));
      const float length = std::sqrt(sx * sx + sy * sy + 1.0f);
      std::int8_t* texel = &out[(static_cast<size_t>(y) * width + x) * 2];
      texel[0] = signedByte(-sx / length);
      texel[1] = signedByte(-sy / length);
    }
}
