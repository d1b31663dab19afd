// How the current layer's picture is laid onto the render area: the matrices from picture pixels
// to the screen, the picture-position mode, the camera zoom and pan, and the border quads that
// frame the picture. Beside it the screen mapping (where the fitted picture lies on the back
// buffer and the picture's size) and the stack of layer sizes across nested renders.
//
// Spaces: picture space (the picture's pixels, y down), area space (the a x b render area,
// origin top left), back-buffer pixels. Matrices are D3DX row-vector: p x M, M1 x M2 applies M1
// first.
#pragma once

#include <d3dx9math.h>

#include <utility>
#include <vector>

#include "core/render/layout_maths.h"
#include "core/render/picture_size.h"
#include "core/render/quads.h"
#include "core/render/texture_info.h"

class DS_ViewState {
 public:
  DS_ViewState();

  // Lays the view out for the picture in an a x b area with the mode; nested is true only for a
  // layer's nested render into a texture. Applies world, view and projection.
  void Configure(const DS_TextureInfo& picture, int a, int b, int mode, bool nested);
  // Device world, view and projection from the base world, view and projection matrices.
  void ApplyTransforms() const;
  // world := object x camera x (picture position x picture), the camera left out in mode 3.
  void SetWorld(const D3DXMATRIX& object) const;
  D3DXMATRIX& World(D3DXMATRIX& result, const D3DXMATRIX& object) const;
  D3DXMATRIX& WorldViewProjection(D3DXMATRIX& result, const D3DXMATRIX& object) const;
  // Mode 3: (picture position x picture) x view x projection; otherwise picture x view x
  // projection (neither picture position nor camera).
  D3DXMATRIX& ViewProjection(D3DXMATRIX& result) const;
  // camera := Translation(tx, ty, 0) x Scaling(z, z, 1), keeping the pan point in place.
  void SetCamera(float zoom, float panX, float panY);
  // picture position := Translation(nx, ny, 0) x Scaling(sx, sy, 1); stores nx, ny, 1/sx, 1/sy.
  void SetPictureTransform(float nx, float ny, float sx, float sy);
  // Fresh strip buffers for the four border quads with the border texture, shared, placed around
  // the picture of the last configure (every later configure places them again). The caller
  // resolves the border image link to the first frame of its picture; an empty holder leaves
  // the borders untextured.
  void SetBorderTexture(const DS_ComHolder<IDirect3DTexture9>& texture);
  // Applies the transforms and draws the four border quads with the picture's states.
  void DrawBorders() const;
  // Drops the border quads' buffers and texture (before the device they were made on goes).
  void ReleaseBorders();

  D3DXMATRIX pictureMatrix;          // picture space to area space for the fitted picture
  D3DXMATRIX picturePositionMatrix;  // the mode's scaling about the picture centre
  D3DXMATRIX baseWorld;              // identity; every draw sets its own world
  D3DXMATRIX viewMatrix;             // eye (0, 0, -1) looking at the origin, up (0, 1, 0)
  D3DXMATRIX projectionMatrix;       // OrthoOffCenterLH(0, a, b, 0, -5000, 5000)
  float inverseScaleX = 1.0f, inverseScaleY = 1.0f;
  float offsetX = 0.0f, offsetY = 0.0f;
  float viewZoom = 1.0f;  // nothing changes these three; readers divide by the zoom
  float viewOffsetX = 0.0f, viewOffsetY = 0.0f;
  D3DXMATRIX cameraMatrix;
  D3DXMATRIX secondCameraMatrix;  // composed before the camera; identity
  DS_TexturedQuad borders[4];     // left, right, top, bottom in picture space
  int mode = kPicturePositionFit;
  unsigned pictureWidth = 0, pictureHeight = 0;
  float widthRatio = 1.0f, heightRatio = 1.0f;
  float fitRatio = 1.0f;

 private:
  // The border quads' positions around the picture of pictureWidth x pictureHeight.
  void WriteBorderCorners();
  D3DXMATRIX CameraPart() const;
  D3DXMATRIX PicturePart() const;
};

extern DS_ViewState g_ViewState;

// The screen mapping: back-buffer size over layer size, the fitted picture on the back buffer,
// and the current layer picture's pixel size (g_PictureWidth and g_PictureHeight, declared in
// picture_size.h: the unit of every view-rectangle fraction).
extern float g_MappingScaleX;
extern float g_MappingScaleY;
extern DS_ScreenQuad g_MappedQuad;

// The screen-mapping block as one value, for keeping one per output.
struct DS_ScreenMapping {
  float scaleX = 0.0f, scaleY = 0.0f;
  DS_ScreenQuad mappedQuad;
  int pictureWidth = 0, pictureHeight = 0;

  static DS_ScreenMapping Current();
  void Publish() const;
};

// Publishes the screen mapping; the scales use the current back buffer's size.
void SetScreenMapping(const DS_ScreenQuad& fitted, int layerWidth, int layerHeight, int pictureWidth,
                      int pictureHeight);
void SetScreenMappingFor(float backBufferWidth, float backBufferHeight, const DS_ScreenQuad& fitted, int layerWidth,
                         int layerHeight, int pictureWidth, int pictureHeight);

// A back-buffer point (already scaled by the mapping scales) to picture pixels, through the
// screen mapping and g_ViewState's picture scales and offsets; z passes through.
void MapScreenPointToPicture(float x, float y, float z, float (&result)[3]);

// Layer sizes saved across nested renders into textures, last in first out.
extern std::vector<std::pair<int, int>> g_RenderSizeStack;
