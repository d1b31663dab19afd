#include "core/render/layout_maths.h"

#include <cmath>

const DS_QuadCorners2 kUnitQuadTexCoords = {{0.0f, 1.0f}, {0.0f, 0.0f}, {1.0f, 1.0f}, {1.0f, 0.0f}};

void RectangleCorners(float left, float top, float width, float height, DS_QuadCorners2& out) {
  out[0] = {left, top + height};
  out[1] = {left, top};
  out[2] = {left + width, top + height};
  out[3] = {left + width, top};
}

float LayoutDimension(float size) { return size > 0.0f ? size : 1.0f; }

DS_FittedRect FitPictureRect(unsigned pictureWidth, unsigned pictureHeight, float areaWidth, float areaHeight) {
  const float a = LayoutDimension(areaWidth);
  const float b = LayoutDimension(areaHeight);
  const float p = LayoutDimension(static_cast<float>(pictureHeight)) / LayoutDimension(static_cast<float>(pictureWidth));
  DS_FittedRect r;
  if (b / a < p) {  // the area is relatively wider than the picture: bars left and right
    r.width = b / p;
    r.height = b;
    r.left = (a - b / p) / 2.0f;
    r.top = 0.0f;
  } else {  // equal aspects land here too, without bars
    r.width = a;
    r.height = a * p;
    r.left = 0.0f;
    r.top = (b - a * p) / 2.0f;
  }
  return r;
}

DS_PictureLayout ComputePictureLayout(unsigned pictureWidth, unsigned pictureHeight, float areaWidth,
                                      float areaHeight, int mode) {
  const float w = LayoutDimension(static_cast<float>(pictureWidth));
  const float h = LayoutDimension(static_cast<float>(pictureHeight));
  const float a = LayoutDimension(areaWidth);
  const float b = LayoutDimension(areaHeight);
  DS_PictureLayout l;
  l.fitted = FitPictureRect(pictureWidth, pictureHeight, a, b);
  const DS_FittedRect& f = l.fitted;
  l.fitRatio = f.width == a ? w / a : h / b;
  l.widthRatio = a / f.width;
  l.heightRatio = b / f.height;
  switch (mode) {
    case kPicturePositionStretch:
    case kPicturePositionWholeTarget:
      l.scaleX = (2.0f * f.left + f.width) / f.width;
      l.scaleY = (2.0f * f.top + f.height) / f.height;
      break;
    case kPicturePositionFill: {
      // One scale for both axes: the picture covers the area and the overflow is cut.
      const float s = f.left == 0.0f ? (2.0f * f.top + f.height) / f.height : (2.0f * f.left + f.width) / f.width;
      l.scaleX = l.scaleY = s;
      break;
    }
    default:  // Fit: the whole picture with bars, which the border quads fill
      l.scaleX = l.scaleY = 1.0f;
      break;
  }
  // Scaling about the picture centre: (p + n) x s keeps (W / 2, H / 2) in place.
  l.offsetX = (1.0f - l.scaleX) / 2.0f * w / l.scaleX;
  l.offsetY = (1.0f - l.scaleY) / 2.0f * h / l.scaleY;
  return l;
}

void BorderQuadCorners(float pictureWidth, float pictureHeight, DS_QuadCorners2 (&out)[4]) {
  const float w = pictureWidth, h = pictureHeight, r = kBorderReach;
  RectangleCorners(-r, 0.0f, r, h, out[0]);            // left
  RectangleCorners(w, 0.0f, r, h, out[1]);             // right
  RectangleCorners(-r, -r, w + 2.0f * r, r, out[2]);   // top, corners included
  RectangleCorners(-r, h, w + 2.0f * r, r, out[3]);    // bottom, corners included
}

float CameraZoomFactor(float zoom) { return zoom > 0.0f ? zoom : 1.0f; }

void CameraTranslation(float zoom, float panX, float panY, float pictureWidth, float pictureHeight, float& tx,
                       float& ty) {
  const float z = CameraZoomFactor(zoom);
  tx = (panX + 1.0f) * (1.0f - z) / 2.0f * pictureWidth / z;
  ty = (panY + 1.0f) * (1.0f - z) / 2.0f * pictureHeight / z;
}

void MapPointToPicture(const DS_ScreenToPicture& m, float x, float y, float& pictureX, float& pictureY) {
  // Before the first layout the fitted quad is the unit form (all corners at 0): a degenerate
  // span maps to the picture origin instead of dividing by zero.
  const float spanX = m.rightX - m.leftX;
  const float spanY = m.bottomY - m.topY;
  const float fx = spanX != 0.0f ? (x - m.leftX) / spanX : 0.0f;
  const float fy = spanY != 0.0f ? (y - m.topY) / spanY : 0.0f;
  const float k = m.zoom;
  pictureX = static_cast<float>(m.pictureWidth) * fx * (m.inverseScaleX / k) - (m.offsetX / k + m.panX);
  pictureY = static_cast<float>(m.pictureHeight) * fy * (m.inverseScaleY / k) - (m.offsetY / k + m.panY);
}

void FillGridIndices8x8(std::uint16_t (&out)[kGridIndexCount]) {
  for (int r = 0; r < kGridCells; ++r) {
    for (int c = 0; c < kGridCells; ++c) {
      const int a = 9 * r + c;
      std::uint16_t* cell = out + 6 * (kGridCells * r + c);
      // Two triangles sharing the edge a+1, a+9.
      cell[0] = static_cast<std::uint16_t>(a);
      cell[1] = static_cast<std::uint16_t>(a + 1);
      cell[2] = static_cast<std::uint16_t>(a + 9);
      cell[3] = static_cast<std::uint16_t>(a + 9);
      cell[4] = static_cast<std::uint16_t>(a + 1);
      cell[5] = static_cast<std::uint16_t>(a + 10);
    }
  }
}

namespace {
DX_V::PT Add(const DX_V::PT& a, const DX_V::PT& b, float t) {  // a + t b
  return {a.x + t * b.x, a.y + t * b.y, a.z + t * b.z, a.u + t * b.u, a.v + t * b.v};
}
DX_V::PT Difference(const DX_V::PT& a, const DX_V::PT& b, float divisor) {  // (a - b) / divisor
  return {(a.x - b.x) / divisor, (a.y - b.y) / divisor, (a.z - b.z) / divisor, (a.u - b.u) / divisor,
          (a.v - b.v) / divisor};
}
}  // namespace

void ComputeGridVerticesPT(int n, int m, const DX_V::PT (&c)[4], DX_V::PT* out) {
  const DX_V::PT e1 = Difference(c[2], c[0], static_cast<float>(m));
  const DX_V::PT e2 = Difference(c[3], c[1], static_cast<float>(m));
  for (int j = 0; j <= m; ++j) {
    const DX_V::PT rowStart = Add(c[0], e1, static_cast<float>(j));
    const DX_V::PT rowEnd = Add(c[1], e2, static_cast<float>(j));
    const DX_V::PT along = Difference(rowEnd, rowStart, 1.0f);
    for (int i = 0; i <= n; ++i)
      out[i + (n + 1) * j] = Add(rowStart, along, static_cast<float>(i) / static_cast<float>(n));
  }
}

int SpriteChunkCount(int spriteCount) { return spriteCount / kSpritesPerChunk + 1; }

int SpritesInChunk(int spriteCount, int chunk) {
  const int left = spriteCount - kSpritesPerChunk * chunk;
  return left < 0 ? 0 : (left < kSpritesPerChunk ? left : kSpritesPerChunk);
}

void SpriteIndices(int sprite, std::uint16_t (&out)[6]) {
  const int v = 4 * sprite;
  out[0] = static_cast<std::uint16_t>(v);
  out[1] = static_cast<std::uint16_t>(v + 1);
  out[2] = static_cast<std::uint16_t>(v + 2);
  out[3] = static_cast<std::uint16_t>(v + 2);
  out[4] = static_cast<std::uint16_t>(v + 1);
  out[5] = static_cast<std::uint16_t>(v + 3);
}

std::int32_t TruncateToInt(float value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0f) return 2147483647;
  if (value <= -2147483648.0f) return -2147483647 - 1;
  return static_cast<std::int32_t>(value);
}

std::uint8_t TruncateToLowByte(float value) {
  return static_cast<std::uint8_t>(static_cast<std::uint32_t>(TruncateToInt(value)) & 0xFFu);
}

bool PixelBoundsOfRectangle(const float* m, float x0, float y0, float x1, float y1, const DS_PixelBox& viewport,
                            DS_PixelBox& out) {
  const float corners[4][2] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
  const float width = static_cast<float>(viewport.right - viewport.left);
  const float height = static_cast<float>(viewport.bottom - viewport.top);
  float left = 0, top = 0, right = 0, bottom = 0;
  for (int i = 0; i < 4; ++i) {
    const float x = corners[i][0], y = corners[i][1];
    const float cx = x * m[0] + y * m[4] + m[12];
    const float cy = x * m[1] + y * m[5] + m[13];
    const float cz = x * m[2] + y * m[6] + m[14];
    const float cw = x * m[3] + y * m[7] + m[15];
    if (!(cw > 0.0f) || !(cz >= 0.0f && cz <= cw)) return false;
    const float sx = static_cast<float>(viewport.left) + (cx / cw + 1.0f) * 0.5f * width;
    const float sy = static_cast<float>(viewport.top) + (1.0f - cy / cw) * 0.5f * height;
    if (!std::isfinite(sx) || !std::isfinite(sy)) return false;
    left = i == 0 ? sx : std::fmin(left, sx);
    right = i == 0 ? sx : std::fmax(right, sx);
    top = i == 0 ? sy : std::fmin(top, sy);
    bottom = i == 0 ? sy : std::fmax(bottom, sy);
  }
  // Cut to the viewport in float first, so that far corners cannot overflow the integers.
  const auto clamp = [](float v, int low, int high) {
    return static_cast<int>(std::fmin(std::fmax(v, static_cast<float>(low)), static_cast<float>(high)));
  };
  out.left = clamp(std::floor(left) - 1.0f, viewport.left, viewport.right);
  out.top = clamp(std::floor(top) - 1.0f, viewport.top, viewport.bottom);
  out.right = clamp(std::ceil(right) + 2.0f, viewport.left, viewport.right);
  out.bottom = clamp(std::ceil(bottom) + 2.0f, viewport.top, viewport.bottom);
  return true;
}
