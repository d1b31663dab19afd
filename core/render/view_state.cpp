#include "core/render/view_state.h"

#include "core/render/device_globals.h"
#include "core/render/device_utils.h"
#include "core/render/draw_states.h"
#include "core/render/mesh_ops.h"
#include "core/render/render_context.h"

DS_ViewState g_ViewState;

namespace {
D3DXMATRIX Identity() {
  D3DXMATRIX m;
  D3DXMatrixIdentity(&m);
  return m;
}
}  // namespace

DS_ViewState::DS_ViewState() {
  pictureMatrix = picturePositionMatrix = baseWorld = projectionMatrix = Identity();
  cameraMatrix = secondCameraMatrix = Identity();
  const D3DXVECTOR3 eye(0.0f, 0.0f, -1.0f), target(0.0f, 0.0f, 0.0f), up(0.0f, 1.0f, 0.0f);
  D3DXMatrixLookAtLH(&viewMatrix, &eye, &target, &up);
}

void DS_ViewState::Configure(const DS_TextureInfo& picture, int a, int b, int newMode, bool nested) {
  // Outside a nested render the fitted rectangle would be scaled to the back buffer and read
  // back in area units; what is stored is in area units either way, so nothing depends on it.
  (void)nested;
  mode = newMode;
  pictureWidth = picture.width;
  pictureHeight = picture.height;
  const float areaWidth = LayoutDimension(static_cast<float>(a));
  const float areaHeight = LayoutDimension(static_cast<float>(b));
  const DS_PictureLayout layout = ComputePictureLayout(pictureWidth, pictureHeight, areaWidth, areaHeight, mode);

  WriteBorderCorners();

  D3DXMatrixOrthoOffCenterLH(&projectionMatrix, 0.0f, areaWidth, areaHeight, 0.0f, -5000.0f, 5000.0f);
  widthRatio = layout.widthRatio;
  heightRatio = layout.heightRatio;
  fitRatio = layout.fitRatio;

  D3DXMATRIX scaling, translation;
  D3DXMatrixScaling(&scaling, 1.0f / layout.fitRatio, 1.0f / layout.fitRatio, 1.0f);
  D3DXMatrixTranslation(&translation, layout.fitted.left, layout.fitted.top, 0.0f);
  D3DXMatrixMultiply(&pictureMatrix, &scaling, &translation);
  ApplyTransforms();

  SetPictureTransform(layout.offsetX, layout.offsetY, layout.scaleX, layout.scaleY);
}

void DS_ViewState::ApplyTransforms() const {
  if (!g_Device) return;
  g_Device->SetTransform(D3DTS_WORLD, &baseWorld);
  g_Device->SetTransform(D3DTS_VIEW, &viewMatrix);
  g_Device->SetTransform(D3DTS_PROJECTION, &projectionMatrix);
}

D3DXMATRIX DS_ViewState::CameraPart() const {
  if (mode == kPicturePositionWholeTarget) return Identity();
  D3DXMATRIX m;
  D3DXMatrixMultiply(&m, &secondCameraMatrix, &cameraMatrix);
  return m;
}

D3DXMATRIX DS_ViewState::PicturePart() const {
  D3DXMATRIX m;
  D3DXMatrixMultiply(&m, &picturePositionMatrix, &pictureMatrix);
  return m;
}

D3DXMATRIX& DS_ViewState::World(D3DXMATRIX& result, const D3DXMATRIX& object) const {
  const D3DXMATRIX camera = CameraPart(), picture = PicturePart();
  D3DXMatrixMultiply(&result, &object, &camera);
  D3DXMatrixMultiply(&result, &result, &picture);
  return result;
}

void DS_ViewState::SetWorld(const D3DXMATRIX& object) const {
  if (!g_Device) return;
  D3DXMATRIX world;
  g_Device->SetTransform(D3DTS_WORLD, &World(world, object));
}

D3DXMATRIX& DS_ViewState::WorldViewProjection(D3DXMATRIX& result, const D3DXMATRIX& object) const {
  World(result, object);
  D3DXMatrixMultiply(&result, &result, &viewMatrix);
  D3DXMatrixMultiply(&result, &result, &projectionMatrix);
  return result;
}

D3DXMATRIX& DS_ViewState::ViewProjection(D3DXMATRIX& result) const {
  result = mode == kPicturePositionWholeTarget ? PicturePart() : pictureMatrix;
  D3DXMatrixMultiply(&result, &result, &viewMatrix);
  D3DXMatrixMultiply(&result, &result, &projectionMatrix);
  return result;
}

void DS_ViewState::SetCamera(float zoom, float panX, float panY) {
  float tx, ty;
  CameraTranslation(zoom, panX, panY, static_cast<float>(pictureWidth), static_cast<float>(pictureHeight), tx, ty);
  const float z = CameraZoomFactor(zoom);
  D3DXMATRIX translation, scaling;
  D3DXMatrixTranslation(&translation, tx, ty, 0.0f);
  D3DXMatrixScaling(&scaling, z, z, 1.0f);
  D3DXMatrixMultiply(&cameraMatrix, &translation, &scaling);
}

void DS_ViewState::SetPictureTransform(float nx, float ny, float sx, float sy) {
  offsetX = nx;
  offsetY = ny;
  inverseScaleX = 1.0f / sx;
  inverseScaleY = 1.0f / sy;
  D3DXMATRIX translation, scaling;
  D3DXMatrixTranslation(&translation, nx, ny, 0.0f);
  D3DXMatrixScaling(&scaling, sx, sy, 1.0f);
  D3DXMatrixMultiply(&picturePositionMatrix, &translation, &scaling);
}

void DS_ViewState::WriteBorderCorners() {
  DS_QuadCorners2 corners[4];
  BorderQuadCorners(LayoutDimension(static_cast<float>(pictureWidth)),
                    LayoutDimension(static_cast<float>(pictureHeight)), corners);
  for (int q = 0; q < 4; ++q) {
    if (!borders[q].vertexBuffer) continue;
    float positions[12];
    for (int i = 0; i < 4; ++i) {
      positions[3 * i] = corners[q][i].x;
      positions[3 * i + 1] = corners[q][i].y;
      positions[3 * i + 2] = 0.0f;
    }
    SetQuadPositionsPT(borders[q], positions);
  }
}

void DS_ViewState::SetBorderTexture(const DS_ComHolder<IDirect3DTexture9>& texture) {
  // Texture coordinates reversed both ways; the positions are those of the picture laid out
  // last, so a border set after the layout (a slide becoming current) frames it at once.
  static const float kVertices[20] = {0, 0, 0, 1, 1, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0};
  for (DS_TexturedQuad& quad : borders) {
    FillQuadPT(quad, kVertices);
    quad.texture = texture;
  }
  WriteBorderCorners();
}

void DS_ViewState::DrawBorders() const {
  if (!g_Device) return;
  ApplyTransforms();
  SetWorld(borders[0].world);
  SetPictureStates();
  for (const DS_TexturedQuad& quad : borders) DrawQuadPT(quad);
}

void DS_ViewState::ReleaseBorders() {
  for (DS_TexturedQuad& quad : borders) {
    quad.texture.Reset();
    quad.vertexBuffer.Reset();
    quad.lockPointer = nullptr;
  }
}

void SetScreenMappingFor(float backBufferWidth, float backBufferHeight, const DS_ScreenQuad& fitted, int layerWidth,
                         int layerHeight, int pictureWidth, int pictureHeight) {
  DS_ScreenMapping& mapping = CurrentRenderContext().mapping;
  mapping.scaleX = backBufferWidth / LayoutDimension(static_cast<float>(layerWidth));
  mapping.scaleY = backBufferHeight / LayoutDimension(static_cast<float>(layerHeight));
  mapping.mappedQuad = fitted;
  mapping.pictureWidth = pictureWidth;
  mapping.pictureHeight = pictureHeight;
}

void SetScreenMapping(const DS_ScreenQuad& fitted, int layerWidth, int layerHeight, int pictureWidth,
                      int pictureHeight) {
  D3DSURFACE_DESC desc;
  GetBackBufferDesc(desc);
  SetScreenMappingFor(static_cast<float>(desc.Width), static_cast<float>(desc.Height), fitted, layerWidth,
                      layerHeight, pictureWidth, pictureHeight);
}

void MapScreenPointToPicture(float x, float y, float z, float (&result)[3]) {
  const DS_ScreenMapping& mapping = CurrentRenderContext().mapping;
  DS_ScreenToPicture m;
  m.leftX = mapping.mappedQuad.corners[0].x;
  m.rightX = mapping.mappedQuad.corners[3].x;
  m.topY = mapping.mappedQuad.corners[1].y;
  m.bottomY = mapping.mappedQuad.corners[2].y;
  m.inverseScaleX = g_ViewState.inverseScaleX;
  m.inverseScaleY = g_ViewState.inverseScaleY;
  m.offsetX = g_ViewState.offsetX;
  m.offsetY = g_ViewState.offsetY;
  m.zoom = g_ViewState.viewZoom;
  m.panX = g_ViewState.viewOffsetX;
  m.panY = g_ViewState.viewOffsetY;
  m.pictureWidth = mapping.pictureWidth;
  m.pictureHeight = mapping.pictureHeight;
  MapPointToPicture(m, x, y, result[0], result[1]);
  result[2] = z;
}
