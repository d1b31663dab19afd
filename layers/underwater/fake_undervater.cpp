#include "core/layer/layer_registry.h"
#include "layers/underwater/fake_undervater.h"

#include "brushes/base_fx/ds_fx_device.h"
#include "core/data/class_registry.h"
#include "core/render/device_globals.h"
#include "core/render/mesh_ops.h"
#include "core/render/view_state.h"

DS_REGISTER_LAYER(FakeUndervater);

FakeUndervater::FakeUndervater() = default;
FakeUndervater::~FakeUndervater() = default;

// Device objects ------------------------------------------------------------------------------------

void FakeUndervater::CreateDeviceObjects() {
  DS_2D_Light::CreateDeviceObjects();
  effect.LoadEffect(nullptr);
}

void FakeUndervater::OnDeviceLost() {
  DS_2D_Light::OnDeviceLost();
  if (ID3DXEffect* e = effect.DeviceRefs().effect.Get()) e->SetTexture("Background", nullptr);
}

// Frame ----------------------------------------------------------------------------------------------

void FakeUndervater::Update(float time) {
  DS_2D_Light::Update(time);
  effect.Advance(time);
}

void FakeUndervater::PostRender() {
  // Without its target textures the layer drew the scene straight to the back buffer, where it
  // stays as it is. Otherwise nothing has been drawn on the back buffer this frame, and the
  // picture quad need not cover it (a picture that resolved to nothing has no area): it starts
  // black, as under a plain layer.
  const bool drawnOffScreen = InTargetRender();
  const DS_RenderTargetPair& pair = EndTargetRender(true);
  if (drawnOffScreen) {
    m_SceneTexture = pair.current;
    if (effect.WillDraw()) {
      effect.Render(*this);
    } else if (g_Device) {
      g_ViewState.ApplyTransforms();
      DrawSceneTexture();  // the finished scene as it is
    }
  }
  g_ViewState.DrawBorders();
}
