#include "objects/base_glow/ds_glow_effect_ctrl.h"

#include "core/layer/ds_abobj.h"

DS_GlowEffectCtrl::DS_GlowEffectCtrl() {
  glowAlpha.SetScale(0.01f, 0.0f);
  glowAlpha.Set(100);
}

DS_GlowEffectCtrl::DS_GlowEffectCtrl(const DS_GlowEffectCtrl& source)
    : DS_FXParticleSystemCtrl(source),
#ifdef _WIN32
      glowTexture(source.glowTexture),
      particleTexture(source.particleTexture),
#endif
      glowColour(source.glowColour),
      glowAlpha(source.glowAlpha) {
}

void DS_GlowEffectCtrl::BlendColour(float out[4]) const {
  const uint32_t c = glowColour.Get();
  out[0] = static_cast<float>(c & 0xFF) / 255.0f;
  out[1] = static_cast<float>((c >> 8) & 0xFF) / 255.0f;
  out[2] = static_cast<float>((c >> 16) & 0xFF) / 255.0f;
  out[3] = glowAlpha.Derived();
}

#ifndef _WIN32
// The host build has no device and so no live objects; the document readers never ask for one.
std::unique_ptr<DS_ABObj> DS_GlowEffectCtrl::CreateObject() const { return nullptr; }
#endif
