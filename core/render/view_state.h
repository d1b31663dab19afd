// How the current layer's picture is laid onto the render area: the matrices from picture pixels
// to the screen, the picture-position mode, the camera zoom and pan, and the border quads that
// frame the picture. The screen mapping beside it (where the fitted picture lies on the back
// buffer and the picture's size) belongs to the current render context (render_context.h).
//
// Spaces: picture space (the picture's pixels, y down), area space (the a x b render area,
// origin top left), back-buffer pixels. Matrices are D3DX row-vector: p x M, M1 x M2 applies M1
// first.
#pragma once

#include <d3dx9math.h>

#include "core/render/layout_maths.h"
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

// Publishes the screen mapping in the current render context; the scales use the current back
// buffer's size.
void SetScreenMapping(const DS_ScreenQuad& fitted, int layerWidth, int layerHeight, int pictureWidth,
                      int pictureHeight);
void SetScreenMappingFor(float backBufferWidth, float backBufferHeight, const DS_ScreenQuad& fitted, int layerWidth,
                         int layerHeight, int pictureWidth, int pictureHeight);

// A back-buffer point (already scaled by the mapping scales) to picture pixels, through the
// current screen mapping and g_ViewState's picture scales and offsets; z passes through.
void MapScreenPointToPicture(float x, float y, float z, float (&result)[3]);
