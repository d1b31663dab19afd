// The arithmetic of the rendering base that needs no device: quad corners, fitting a picture
// into an area, the picture-position modes, the border quads, the screen-to-picture mapping,
// the grid and sprite-chunk index patterns. Platform-free, so the host tests run it too; the
// device code builds its matrices and buffers from these values.
#pragma once

#include <cstdint>

#include "core/render/vertex_records.h"

// Every quad is a 4-vertex triangle strip: 0 left-bottom, 1 left-top, 2 right-bottom,
// 3 right-top (y grows downwards).
struct DS_Corner2 {
  float x, y;
};
using DS_QuadCorners2 = DS_Corner2[4];

// The unit texture coordinates in corner order: (0, 1), (0, 0), (1, 1), (1, 0).
extern const DS_QuadCorners2 kUnitQuadTexCoords;

// Corners of the axis-aligned rectangle at (left, top) of width x height, in strip order.
void RectangleCorners(float left, float top, float width, float height, DS_QuadCorners2& out);

// Picture-position modes.
enum DS_PicturePosition : int {
  kPicturePositionStretch = 0,
  kPicturePositionFit = 1,  // the view's default
  kPicturePositionFill = 2,
  kPicturePositionWholeTarget = 3,  // stretch without camera, while drawing into a texture
};

// A picture that failed to decode is 0 x 0; layout uses 1 for such a dimension (and for an
// empty area) so that every matrix made from it stays finite.
float LayoutDimension(float size);

// The largest rectangle of the picture's aspect that fits centred into areaWidth x areaHeight.
struct DS_FittedRect {
  float left, top, width, height;
};
DS_FittedRect FitPictureRect(unsigned pictureWidth, unsigned pictureHeight, float areaWidth, float areaHeight);

// Every value the view state derives from a picture, an area and a mode; all in area units.
struct DS_PictureLayout {
  DS_FittedRect fitted;
  float fitRatio;     // picture pixels per area unit along the dimension the picture fills
  float widthRatio;   // area width / fitted width
  float heightRatio;  // area height / fitted height
  float scaleX, scaleY;    // the mode's scaling of the picture about its centre
  float offsetX, offsetY;  // translation applied before that scaling (picture pixels)
};
DS_PictureLayout ComputePictureLayout(unsigned pictureWidth, unsigned pictureHeight, float areaWidth,
                                      float areaHeight, int mode);

// The four border quads around a W x H picture in picture space: left, right, top, bottom,
// each reaching 500 pixels beyond the edge (the top and bottom quads take the corners).
constexpr float kBorderReach = 500.0f;
void BorderQuadCorners(float pictureWidth, float pictureHeight, DS_QuadCorners2 (&out)[4]);

// Translation of the camera matrix Translation(tx, ty, 0) x Scaling(z, z, 1) that keeps the pan
// point in place: pan -1 keeps the left (top) edge, 0 the centre, +1 the right (bottom) edge.
// A zoom of 0 or below is taken as 1 (no zoom).
float CameraZoomFactor(float zoom);
void CameraTranslation(float zoom, float panX, float panY, float pictureWidth, float pictureHeight, float& tx,
                       float& ty);

// Back-buffer point to picture pixel, the inverse of the fitted mapping without camera.
struct DS_ScreenToPicture {
  float leftX, rightX;   // fitted quad: x of corners 0 and 3
  float topY, bottomY;   // fitted quad: y of corners 1 and 2
  float inverseScaleX, inverseScaleY;
  float offsetX, offsetY;
  float zoom;            // view zoom, 1
  float panX, panY;      // view offsets, 0
  int pictureWidth, pictureHeight;
};
void MapPointToPicture(const DS_ScreenToPicture& m, float x, float y, float& pictureX, float& pictureY);

// The 384 indices of an 8 x 8 grid of cells over 9 x 9 vertices numbered row by row.
constexpr int kGridCells = 8;
constexpr int kGridIndexCount = kGridCells * kGridCells * 6;
void FillGridIndices8x8(std::uint16_t (&out)[kGridIndexCount]);

// The vertices of an n x m grid, a bilinear interpolation of four corners in strip order (c0, c1
// one side, c2, c3 the opposite side), texture coordinates included: i runs from the c0-c1 side,
// j from c0 towards c2, and vertex i + (n + 1) j is written to out, which holds (n + 1)(m + 1).
void ComputeGridVerticesPT(int n, int m, const DX_V::PT (&corners)[4], DX_V::PT* out);

// Sprite batches: 16-bit indices address 65536 vertices, so a chunk holds at most 16383
// sprites of four vertices.
constexpr int kSpritesPerChunk = 0x3FFF;
int SpriteChunkCount(int spriteCount);
int SpritesInChunk(int spriteCount, int chunk);
// The six indices of sprite s of a chunk.
void SpriteIndices(int sprite, std::uint16_t (&out)[6]);

// trunc(value) as an integer, with NaN giving 0 and the value clamped to the int32 range; its
// low byte is what the alpha writers keep.
std::int32_t TruncateToInt(float value);
std::uint8_t TruncateToLowByte(float value);

// A rectangle of pixels [left, right) x [top, bottom).
struct DS_PixelBox {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
};
// The pixels of `viewport` that the rectangle (x0, y0)-(x1, y1), drawn through the row-vector
// matrix `worldViewProjection` (16 floats, row by row), can cover: the bounds of its corners on
// screen, widened by a pixel each way for rounding and either pixel-centre convention, cut to the
// viewport (possibly to nothing). False when a corner lies behind the eye or outside the depth
// range: the clipped rectangle's pixels are not bounded by its corners then.
bool PixelBoundsOfRectangle(const float* worldViewProjection, float x0, float y0, float x1, float y1,
                            const DS_PixelBox& viewport, DS_PixelBox& out);
