#include "core/layer/layer_registry.h"
#include "layers/flame/ds_flame_light.h"

#include "brushes/base_fx/ds_fx_device.h"
#include "core/data/class_registry.h"
#include "core/data/file_links.h"
#include "core/render/device_globals.h"
#include "core/render/view_state.h"

DS_REGISTER_LAYER(DS_FlameLight);

DS_FlameLight::DS_FlameLight() = default;

DS_FlameLight::~DS_FlameLight() = default;

// Device objects ------------------------------------------------------------------------------------

void DS_FlameLight::CreateDeviceObjects() {
  DS_2D_Light::CreateDeviceObjects();
  // The texture coordinates stay; OnPictureChanged places the band on the picture.
  const float band[20] = {0.0f, 0.0f,   0.0f, 0.0f, 0.0f,  800.0f, 0.0f,   0.0f, 1.0f, 0.0f,
                          0.0f, 600.0f, 0.0f, 0.0f, 0.95f, 800.0f, 600.0f, 0.0f, 1.0f, 0.95f};
  FillQuadPT(m_FireQuad, band);
  // Without its effect the distortion stays off for good: no target render is asked for.
  if (!distortion.CreateDeviceObjects()) distortionOn.SetDefault(0);
  OnPictureChanged();
  fire.LoadEffect(nullptr);  // the band has no mask
}

void DS_FlameLight::OnDeviceReset() {
  DS_2D_Light::OnDeviceReset();  // the layer's defaults and the target pair
  // Every pass sets its own states (the band and the distortion through the effect states, the
  // borders through the picture's): the reset only lays the layer out again.
  Layout(LayerWidth(), LayerHeight());
}

// Frame ----------------------------------------------------------------------------------------------

void DS_FlameLight::Update(float time) {
  fire.Advance(time);
  DS_2D_Light::Update(time);
  distortion.Update(time);
}

void DS_FlameLight::RenderBackground(bool flag) {
  (void)flag;
  DS_2D_Light::RenderBackground(false);
  ID3DXEffect* e = fire.DeviceRefs().effect.Get();
  if (fireOn.Get() == 0 || !e) return;
  fire.SetNoiseParameters(m_FireQuad);
  e->SetTechnique("AsEffect");
  DrawMeshPT(m_FireQuad, e);
}

void DS_FlameLight::PostRender() {
  // Only a target render that the slide began (HasDistortion) is ended here; without its
  // textures the scene went straight to the back buffer and stays as drawn.
  if (HasDistortion() && InTargetRender()) {
    const DS_RenderTargetPair& targets = EndTargetRender(false);
    distortion.Draw(*this, targets.current.Get());
  }
  g_ViewState.DrawBorders();
}

void DS_FlameLight::BandEdges(float height, uint32_t offset, float (&edges)[2]) {
  const float bottom = height * (1.0f + kOffsetStep * static_cast<float>(offset));
  edges[0] = bottom - kBandShare * height;
  edges[1] = bottom;
}

void DS_FlameLight::OnPictureChanged() {
  m_Background.LoadPicture(ResolvePicture());
  Layout(LayerWidth(), LayerHeight());
  const unsigned width = PictureWidth(), height = PictureHeight();
  distortion.SetSize(width, height);
  const float w = static_cast<float>(width);
  float edges[2];
  BandEdges(static_cast<float>(height), fireOffset.Get(), edges);
  const float positions[12] = {0.0f, edges[0], 0.0f, w, edges[0], 0.0f, 0.0f, edges[1], 0.0f, w, edges[1], 0.0f};
  SetQuadPositionsPT(m_FireQuad, positions);
}
