#include "core/layer/layer_registry.h"
#include "layers/water_ring/ds_water_ring_light.h"

#include <algorithm>

#include "core/data/class_registry.h"
#include "core/render/device_globals.h"
#include "core/render/draw_states.h"
#include "core/render/view_state.h"
#include "layers/water_ring/water_ring_values.h"

DS_REGISTER_LAYER(DS_WaterRingLight);

DS_WaterRingLight::DS_WaterRingLight() {
  D3DXMatrixIdentity(&m_World);
  D3DXMatrixIdentity(&m_View);
  D3DXMatrixIdentity(&m_CameraMatrix);
  D3DXMatrixIdentity(&m_Projection);
}

DS_WaterRingLight::~DS_WaterRingLight() = default;

// Device objects ------------------------------------------------------------------------------------

void DS_WaterRingLight::SetDamping() { m_Surface->damping = water_ring::Damping(damping.Get()); }

void DS_WaterRingLight::SetMaterial() {
  m_Material = D3DMATERIAL9{};
  m_Material.Diffuse.a = 1.0f;
  m_Material.Specular.r = m_Material.Specular.g = m_Material.Specular.b = specular.Derived();
  m_Material.Power = shininess.Derived();
  if (g_Device) g_Device->SetMaterial(&m_Material);
}

void DS_WaterRingLight::ApplyLight() const {
  if (!g_Device) return;
  D3DLIGHT9 light{};
  light.Type = D3DLIGHT_DIRECTIONAL;
  light.Diffuse = m_LightColour;
  light.Specular = D3DXCOLOR(1.0f, 1.0f, 1.0f, 0.0f);
  light.Direction = m_LightDirection;
  g_Device->SetLight(0, &light);
  g_Device->LightEnable(0, TRUE);
  g_Device->SetMaterial(&m_Material);
}

void DS_WaterRingLight::SetupSurface() {
  // The surface is 30 units deep and as wide as the picture's shape makes it; a picture without
  // a size counts as square.
  const float aspect = m_Background.picture.aspect > 0.0f ? m_Background.picture.aspect : 1.0f;
  m_Surface->Setup(30.0f / aspect, 30.0f, water_ring::RowFactor(rowDensity.Get()),
                   water_ring::ColumnFactor(resolution.Get()));
  // Still water, and the first drop at random like every later one.
  m_Surface->Drop();
}

void DS_WaterRingLight::CreateDeviceObjects() {
  DS_2D_Light::CreateDeviceObjects();
  m_Surface->BuildRefractionTable();
  // The camera hangs kEyeHeight above the water, looking straight down.
  D3DXMatrixRotationX(&m_CameraMatrix, -D3DX_PI / 2.0f);
  m_CameraMatrix._41 = 0.0f;
  m_CameraMatrix._42 = kEyeHeight;
  m_CameraMatrix._43 = 0.0f;
  D3DXMatrixInverse(&m_View, nullptr, &m_CameraMatrix);
  m_Surface->waveGain = water_ring::WaveGain(waveSpeed.Get());
  m_Surface->dropStrength = water_ring::DropStrength(dropStrength.Get());
  SetDamping();
  m_Surface->depthFactor = water_ring::DepthFactor(depth.Get());
  SetupSurface();
  SetMaterial();
}

void DS_WaterRingLight::OnDeviceLost() {
  DS_2D_Light::OnDeviceLost();
  m_Surface->ReleaseBuffers();
}

void DS_WaterRingLight::OnDeviceReset() {
  DS_2D_Light::OnDeviceReset();  // the layer's defaults and the target pair
  SetupSurface();  // the ripples start again from still water and one drop
  Layout(m_LayoutWidth, m_LayoutHeight);
}

// Frame ----------------------------------------------------------------------------------------------

void DS_WaterRingLight::Layout(int width, int height) {
  m_LayoutWidth = width;
  m_LayoutHeight = height;
  if (width == 0 || height == 0) return;
  DS_2D_Light::Layout(width, height);
  const float aspect = m_Background.picture.aspect > 0.0f ? m_Background.picture.aspect : 1.0f;
  const float r = static_cast<float>(width) / static_cast<float>(height);
  // The whole surface stays in view: full width on a screen no wider than the picture, full
  // height on a wider one.
  float x, y;
  if (aspect * r <= 1.0f) {
    x = (30.0f / aspect) * 0.5f;
    y = x / r;
  } else {
    y = 15.0f;
    x = r * 15.0f;
  }
  D3DXMatrixOrthoOffCenterRH(&m_Projection, -x, x, -y, y, -1.0f, 2000.0f);
}

void DS_WaterRingLight::SetPicturePosition(int mode) {
  m_PicturePosition = mode;
  g_ViewState.Configure(m_Background.picture, m_LayerWidth, m_LayerHeight, mode, false);
  DS_2D_Light::Layout(m_LayerWidth, m_LayerHeight);
  Layout(m_LayoutWidth, m_LayoutHeight);
}

void DS_WaterRingLight::Update(float time) {
  m_Camera.Update(time);
  if (time < m_LastDropTime) m_LastDropTime = time;  // a clock that goes back starts again
  const float rate = dropRate.Derived();
  if (rate > 0.0f && time - m_LastDropTime > 1.0f / rate) {
    m_Surface->Drop();
    m_LastDropTime = time;
  }
  const float eye[3] = {0.0f, kEyeHeight, 0.0f};
  m_Surface->Step(eye);
}

void DS_WaterRingLight::RenderBackground(bool flag) {
  if (renderMode.Get() == 1) {
    DS_2D_Light::RenderBackground(flag);  // into the render target, under the objects
    return;
  }
  if (!g_Device) return;
  // Where the surface leaves the area uncovered (a screen wider than the picture) it shows black,
  // as under the base layer's picture.
  g_Device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00000000, 1.0f, 0);
  DrawWater(m_Background.picture.texture.Get());
}

void DS_WaterRingLight::PostRender() {
  if (renderMode.Get() == 1 && m_InTargetRender) {
    g_ViewState.Configure(m_Background.picture, m_LayerWidth, m_LayerHeight, m_PicturePosition, false);
    m_Targets.End();
    m_InTargetRender = false;
    if (g_Device) g_Device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    DrawWater(m_Targets.current.Get());
  }
  g_ViewState.DrawBorders();
}

void DS_WaterRingLight::DrawWater(IDirect3DTexture9* texture) {
  if (!g_Device) return;
  IDirect3DDevice9* d = g_Device;
  SetLitWaterStates();
  ApplyLight();
  d->SetTransform(D3DTS_WORLD, &m_World);
  // The layer camera's zoom and pan, carried over from picture pixels to the water's units.
  const D3DXMATRIX m = g_ViewState.secondCameraMatrix * g_ViewState.cameraMatrix * g_ViewState.picturePositionMatrix;
  const float pictureWidth = static_cast<float>(std::max(PictureWidth(), 1u));
  const float pictureHeight = static_cast<float>(std::max(PictureHeight(), 1u));
  const float px = m._11 != 0.0f ? (m._41 / m._11) / pictureWidth : 0.0f;
  const float py = m._22 != 0.0f ? (m._42 / m._22) / pictureHeight : 0.0f;
  const float w = m_Surface->Width(), depthUnits = m_Surface->Depth();
  D3DXMATRIX t1, t2;
  D3DXMatrixTranslation(&t1, w * (px + 0.5f), 0.0f, depthUnits * (py + 0.5f));
  D3DXMatrixTranslation(&t2, -w / 2.0f, depthUnits / 2.0f, 0.0f);
  D3DXMATRIX zoom = m;
  zoom._41 = 0.0f;
  zoom._42 = 0.0f;
  const D3DXMATRIX view = t1 * m_View * zoom * t2;
  d->SetTransform(D3DTS_VIEW, &view);
  d->SetTransform(D3DTS_PROJECTION, &m_Projection);
  d->SetTexture(0, texture);
  m_Surface->Draw();
  g_ViewState.ApplyTransforms();
}
