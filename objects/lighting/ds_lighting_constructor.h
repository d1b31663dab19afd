// Lightning flashes: a flash strikes at a random spot, flickers for a moment and then rests;
// a resting flash gets a chance to strike once per unit of phase.
#pragma once

#include "objects/particles/ds_particle_system_ctrl.h"

class DS_LightingConstructor final : public DS_ParticleKindT<DS_LightingConstructor> {
 public:
  static constexpr const char16_t* kClassName = u"DS_LightingConstructor";
  static constexpr uint32_t kVersion = 1;

  DS_LightingConstructor() {
    blendMode.Set(1);
    flag = true;
  }
  void SpawnParticle(DS_Particle& p) override;
  void UpdateParticle(DS_Particle& p) override;
};
