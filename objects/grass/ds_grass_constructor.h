// Grass: blades rooted on the bottom of the view that sway together in a wave travelling across
// the picture.
#pragma once

#include "objects/base_particles/ds_particle_system_ctrl.h"

class DS_GrassConstructor final : public DS_ParticleKindT<DS_GrassConstructor> {
 public:
  static constexpr const char16_t* kClassName = u"DS_GrassConstructor";
  static constexpr uint32_t kVersion = 1;

  template <class R>
  void Record(R& r) {
    r.About("Grass: the sway amplitude in degrees, then the sprite properties.");
    r.Field("sway", swayAmplitude);
    r.Base("DS_BaseSpriteProp", static_cast<DS_BaseSpriteProp&>(*this));
  }

  void SpawnParticle(DS_Particle& p) override;
  void UpdateParticle(DS_Particle& p) override;

  float swayAmplitude = 3.0f;  // degrees
};
