// Lightning flashes: a flash strikes at a random spot, flickers for a moment and then rests;
// a resting flash gets a chance to strike once per unit of phase.
#pragma once

#include "objects/base_particles/ds_particle_system_ctrl.h"

class DS_LightingConstructor final : public DS_ParticleKindT<DS_LightingConstructor> {
 public:
  static constexpr const char16_t* kClassName = u"DS_LightingConstructor";
  static constexpr uint32_t kVersion = 1;

  template <class R>
  void Record(R& r) {
    r.About("Lightning flashes: the sprite properties only (the kind itself starts additive).");
    r.Base("DS_BaseSpriteProp", static_cast<DS_BaseSpriteProp&>(*this));
  }

  DS_LightingConstructor() {
    blendMode.Set(1);
    flag = true;
  }
  void SpawnParticle(DS_Particle& p) override;
  void UpdateParticle(DS_Particle& p) override;
};
