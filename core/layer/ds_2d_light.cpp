#include "core/layer/ds_2d_light.h"

#include <memory>

#include "core/layer/ds_abobj.h"
#include "core/layer/layer_device_states.h"
#include "core/data/class_registry.h"
#include "core/layer/layer_registry.h"
#include "core/render/device_globals.h"
#include "core/render/device_utils.h"
#include "core/render/draw_states.h"
#include "core/render/image_set_frames.h"
#include "core/render/mesh_ops.h"
#include "core/render/view_state.h"
#include "core/resources/doc_res_manager.h"
#include "core/resources/resource_cache.h"

const int DS_2D_Light::kMarkerPictureIds[kMarkerCount] = {54, 55, 56, 57, 61};

namespace {

// Whether the rectangle (0, 0)-(width, height), drawn through `worldViewProjection`, covers the
// centre of every pixel of the device's viewport. Pixel centres lie half a pixel inside its
// edges; the test keeps a quarter pixel for rounding, and anything in doubt (a degenerate or
// clipped quad, an empty viewport) counts as not covered.
bool RectangleCoversViewport(const D3DXMATRIX& worldViewProjection, float width, float height) {
  D3DVIEWPORT9 viewport;
  if (!g_Device || FAILED(g_Device->GetViewport(&viewport)) || viewport.Width == 0 || viewport.Height == 0)
    return false;
  const D3DXVECTOR4 corners[4] = {{0, 0, 0, 1}, {width, 0, 0, 1}, {width, height, 0, 1}, {0, height, 0, 1}};
  D3DXVECTOR2 screen[4];
  for (int i = 0; i < 4; ++i) {
    D3DXVECTOR4 clip;
    D3DXVec4Transform(&clip, &corners[i], &worldViewProjection);
    if (!(clip.w > 0.0f)) return false;
    const float z = clip.z / clip.w;
    if (!(z >= 0.0f && z <= 1.0f)) return false;
    screen[i].x = static_cast<float>(viewport.X) + (clip.x / clip.w + 1.0f) * 0.5f * static_cast<float>(viewport.Width);
    screen[i].y = static_cast<float>(viewport.Y) + (1.0f - clip.y / clip.w) * 0.5f * static_cast<float>(viewport.Height);
  }
  const float inset = 0.25f;
  const float left = static_cast<float>(viewport.X) + inset;
  const float top = static_cast<float>(viewport.Y) + inset;
  const float right = static_cast<float>(viewport.X + viewport.Width) - inset;
  const float bottom = static_cast<float>(viewport.Y + viewport.Height) - inset;
  const D3DXVECTOR2 probes[4] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
  // The quad is convex: a probe inside lies strictly on the same side of all four edges.
  for (const D3DXVECTOR2& p : probes) {
    float side = 0.0f;
    for (int i = 0; i < 4; ++i) {
      const D3DXVECTOR2& a = screen[i];
      const D3DXVECTOR2& b = screen[(i + 1) % 4];
      const float cross = (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
      if (!(cross != 0.0f) || (side != 0.0f && (cross > 0.0f) != (side > 0.0f))) return false;
      side = cross;
    }
  }
  return true;
}

}  // namespace

DS_REGISTER_LAYER(DS_2D_Light);

DS_2D_Light::DS_2D_Light() {
  m_Listeners.SetOwner(this, false);
  DS_AttachListener2(m_Listeners, m_Picture, this, &DS_2D_Light::OnPictureChanged);
}

DS_2D_Light::~DS_2D_Light() = default;

// Record ---------------------------------------------------------------------------------------------

void DS_2D_Light::WriteObject(DS_IOF_Virtual& out) const { DS_WriteRecord(out, *this, "DS_2D_Light"); }

void DS_2D_Light::ReadFields(DS_IOF_Virtual& in, uint32_t version) { DS_ReadRecordFields(in, *this, version); }

std::unique_ptr<DS_2D_Light> DS_2D_Light::CreateFromStream(DS_IOF_Virtual& in, uint32_t version) {
  auto layer = std::make_unique<DS_2D_Light>();
  layer->ReadFields(in, version);
  return layer;
}

void DS_2D_Light::ReadBase(DS_IOF_Virtual& in, DS_2D_Light& layer) { DS_ReadNestedRecord(in, layer); }

// Device objects ------------------------------------------------------------------------------------

DS_TextureInfo DS_2D_Light::ResolvePicture() const {
  if (!g_DocResManager) return DS_TextureInfo();
  return PictureOfFirstFrame(g_DocResManager->GetImageSet(m_Picture));
}

void DS_2D_Light::ApplyBorderImage() {
  DS_ComHolder<IDirect3DTexture9> border;
  if (g_DocResManager) border = FirstTextureOf(g_DocResManager->GetImageSet(m_Camera.borderImage));
  g_ViewState.SetBorderTexture(border);
}

void DS_2D_Light::CreateDeviceObjects() {
  SetQuadTexCoordsPT(m_Background);
  m_Background.LoadPicture(ResolvePicture());
  ApplyBorderImage();
  // The program carries none of its marker pictures; they stay null and the markers untextured.
  for (int i = 0; i < kMarkerCount; ++i) {
    if (g_ResourceCache && g_ResourceCache->cache)
      m_Markers[i] = g_ResourceCache->cache->GetResourceTexture(kMarkerPictureIds[i]);
    else
      m_Markers[i].Reset();
  }
}

// The resource manager is not told here: the scene that owns it tells it once per loss and once
// per reset, after its layers have let go and before they are made again.
void DS_2D_Light::OnDeviceReset() {
  SetLayerDefaultStates();
  D3DSURFACE_DESC desc;
  GetBackBufferDesc(desc);
  m_Targets.Create(static_cast<int>(desc.Width), static_cast<int>(desc.Height));
}

void DS_2D_Light::OnDeviceLost() {
  m_Targets.Release();
  m_InTargetRender = false;
  m_SceneTexture.Reset();
}

// Frame ----------------------------------------------------------------------------------------------

void DS_2D_Light::PostRender() { g_ViewState.DrawBorders(); }

void DS_2D_Light::RenderBackground(bool flag) {
  (void)flag;  // every caller passes false
  if (!g_Device) return;
  g_ViewState.ApplyTransforms();
  g_ViewState.SetWorld(m_Background.world);
  SetPictureStates();  // before the clear, which honours the scissor and write mask states
  // The picture is drawn opaque: where it covers the whole target, the clear changes no pixel.
  if (!PictureCoversTarget()) g_Device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00000000, 1.0f, 0);
  DrawQuadPT(m_Background);
}

bool DS_2D_Light::PictureCoversTarget() const {
  if (!m_Background.texture || !CanDraw(m_Background)) return false;
  D3DXMATRIX worldViewProjection;
  g_ViewState.WorldViewProjection(worldViewProjection, m_Background.world);
  return RectangleCoversViewport(worldViewProjection, static_cast<float>(m_Background.picture.width),
                                 static_cast<float>(m_Background.picture.height));
}

void DS_2D_Light::Update(float time) { m_Camera.Update(time); }

void DS_2D_Light::Layout(int width, int height) {
  m_LayerWidth = width;
  m_LayerHeight = height;
  const DS_TextureInfo& picture = m_Background.picture;
  g_ViewState.Configure(picture, width, height, g_ViewState.mode, false);
  DS_ScreenQuad fitted;
  fitted.FitPicture(picture, static_cast<float>(width), static_cast<float>(height));
  fitted.ScaleToBackBuffer(static_cast<float>(width), static_cast<float>(height));
  SetScreenMapping(fitted, width, height, static_cast<int>(picture.width), static_cast<int>(picture.height));
}

void DS_2D_Light::SetPicturePosition(int mode) {
  m_PicturePosition = mode;
  g_ViewState.Configure(m_Background.picture, m_LayerWidth, m_LayerHeight, mode, false);
  Layout(m_LayerWidth, m_LayerHeight);
}

bool DS_2D_Light::EnableRandomPan() {
  const bool already = IsRandomPan();
  m_Camera.panKind.Store(DSM_Camera::kPanKindWander);  // observers are not told
  m_Camera.wander.Clear();
  return already;
}

void DS_2D_Light::DrawColouredQuad(const DS_MeshBase& quad) {
  if (!CanDraw(quad)) return;
  SetColouredQuadStates();
  BindMeshTPC(quad);
  DrawBoundPrimitives(quad);
}

void DS_2D_Light::BeginTargetRender() {
  m_PicturePosition = g_ViewState.mode;
  // Without its textures (short of video memory, between a loss and the re-creation) the layer
  // draws straight to the back buffer and the scene-texture users see the picture.
  m_InTargetRender = m_Targets.Begin(m_Targets.current);
  if (!m_InTargetRender) return;
  g_ViewState.Configure(m_Background.picture, m_LayerWidth, m_LayerHeight, kPicturePositionWholeTarget, false);
}

const DS_RenderTargetPair& DS_2D_Light::EndTargetRender(bool clear) {
  if (!m_InTargetRender) return m_Targets;
  g_ViewState.Configure(m_Background.picture, m_LayerWidth, m_LayerHeight, m_PicturePosition, false);
  m_Targets.End();
  m_InTargetRender = false;
  if (clear && g_Device) g_Device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
  return m_Targets;
}

void DS_2D_Light::OnPictureChanged() {
  m_Background.LoadPicture(ResolvePicture());
  Layout(m_LayerWidth, m_LayerHeight);
}

void DS_2D_Light::RenderObjects(DS_ABObj* const* objects, size_t count, int n) {
  m_SceneTexture = m_Background.picture.texture;
  for (size_t i = count; i-- > 0;) {
    DS_ABObj* object = objects[i];
    if (!object) continue;
    if (object->NeedsSceneTexture() && m_InTargetRender) {
      --n;
      const Texture* drawn = n > 0 ? m_Targets.Swap() : nullptr;
      if (drawn) {
        m_SceneTexture = *drawn;
      } else {
        EndTargetRender(false);
        m_SceneTexture = m_Targets.current;
      }
    }
    object->Render(*this);
    m_SceneTexture = m_Background.picture.texture;
  }
}

int DS_2D_Light::CountSceneTextureUsers(DS_ABObj* const* objects, size_t count) {
  int n = HasDistortion() ? 1 : 0;
  for (size_t i = 0; i < count; ++i)
    if (objects[i] && objects[i]->NeedsSceneTexture()) ++n;
  return n;
}

void DS_2D_Light::RenderScene(DS_ABObj* const* objects, size_t count) {
  const int n = CountSceneTextureUsers(objects, count);
  if (n > 0) BeginTargetRender();
  RenderBackground(false);
  RenderObjects(objects, count, n);
}
