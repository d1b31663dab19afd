#include "objects/base_glow/ds_glowing_obj.h"

#include "core/layer/ds_2d_light.h"
#include "core/render/device_globals.h"
#include "core/render/image_set_frames.h"
#include "core/render/layout_maths.h"
#include "core/resources/doc_res_manager.h"
#include "objects/base_glow/ds_glow_effect_ctrl.h"

// ---- DS_GlowEffectCtrl, device side ----

std::unique_ptr<DS_ABObj> DS_GlowEffectCtrl::CreateObject() const {
  // Every glow kind's Clone copies its own class, which is a glow set.
  std::unique_ptr<DS_ParticleSystemCtrl> clone = Clone();
  return std::make_unique<DS_GlowingObj>(
      std::unique_ptr<DS_GlowEffectCtrl>(static_cast<DS_GlowEffectCtrl*>(clone.release())));
}

void DS_GlowEffectCtrl::CreateDeviceObjects() {
  DS_FXParticleSystemCtrl::CreateDeviceObjects();
  glowTexture.Reset();
  particleTexture.Reset();
  if (!g_DocResManager) return;
  glowTexture = FirstTextureOf(g_DocResManager->GetImageSet(overlayImage));
  particleTexture = FirstTextureOf(g_DocResManager->GetImageSet(image));
}

// ---- DS_GlowingObj ----

DS_GlowingObj::DS_GlowingObj(std::unique_ptr<DS_GlowEffectCtrl> set)
    : DS_ABObj(std::move(set)), m_GlowControl(static_cast<DS_GlowEffectCtrl*>(Control())) {
  control = m_GlowControl;
  AttachCountListener();
  m_GlowControl->CreateDeviceObjects();
  OnDeviceReset();
}

DS_GlowingObj::~DS_GlowingObj() { OnDeviceLost(); }

void DS_GlowingObj::OnDeviceLost() {
  // The effect keeps a reference to every texture last set on it; the glow target and the
  // layer's scene target must not outlive the device's reset through it.
  if (ID3DXEffect* e = m_GlowControl->effect.Get()) {
    e->SetTexture("Texture1", nullptr);
    e->SetTexture("Texture2", nullptr);
  }
  m_GlowTarget.Release();
  m_GlowControl->OnDeviceLost();
}

void DS_GlowingObj::OnDeviceReset() {
  m_GlowTarget.Create(kGlowTargetSize, kGlowTargetSize);
  m_GlowControl->OnDeviceReset();
}

bool DS_GlowingObj::NeedsSceneTexture() { return m_GlowControl->effect.Get() != nullptr; }

void DS_GlowingObj::Update(float time) {
  m_GlowControl->UpdateFX();
  ParticleGeomArray::Update(time);
  FillVertices();
}

bool DS_GlowingObj::DrawGlow(DS_2D_Light& layer) {
  ID3DXEffect* e = m_GlowControl->effect.Get();
  // Without a glow picture there is nothing to put into the target.
  if (!m_GlowControl->glowTexture) return false;
  e->SetTexture("Texture1", m_GlowControl->glowTexture.Get());
  e->SetTechnique("Blend_Max");
  if (!m_GlowTarget.Begin(m_GlowTarget.current)) return false;
  layer.BeginNestedRender(m_GlowTarget, kPicturePositionWholeTarget);
  g_Device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00000000, 1.0f, 0);
  layer.DrawIndexedPCT(*this, e);
  m_GlowTarget.End();
  layer.EndNestedRender();
  return true;
}

void DS_GlowingObj::Render(DS_2D_Light& layer) {
  ID3DXEffect* e = m_GlowControl->effect.Get();
  if (!e || !g_Device) return;
  const bool glowing = DrawGlow(layer);

  // The whole picture again: the scene so far, lightened ("screen") or blended towards the
  // tinted glow by the glow's alpha times the strength. Without this frame's glow the strength is
  // 0, which gives the scene back unchanged.
  float blend[4];
  m_GlowControl->BlendColour(blend);
  if (!glowing) blend[3] = 0.0f;
  e->SetTechnique(m_GlowControl->blendMode.Get() == 1 ? "Blend_Screen" : "Blend_Normal");
  e->SetFloatArray("BlendColor", blend, 4);
  e->SetTexture("Texture1", layer.SceneTexture().Get());
  e->SetTexture("Texture2", glowing ? m_GlowTarget.current.Get() : nullptr);
  layer.DrawMeshPT(layer.BackgroundQuad(), e);

  // The particles in their vertex colours; an untextured pass would draw dark quads.
  if (!m_GlowControl->particleTexture) return;
  e->SetTechnique("Common");
  e->SetTexture("Texture1", m_GlowControl->particleTexture.Get());
  layer.DrawIndexedPCT(*this, e);
}
