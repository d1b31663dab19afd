// God rays: tall slanted beams across the picture's height that wander sideways and pulse.
#pragma once

#include "objects/base_particles/ds_particle_system_ctrl.h"

class DS_GodRayConstructor final : public DS_ParticleKindT<DS_GodRayConstructor> {
 public:
  static constexpr const char16_t* kClassName = u"DS_GodRayConstructor";
  static constexpr uint32_t kVersion = 1;

  template <class R>
  void Record(R& r) {
    r.About("God rays: the ray angle in degrees (80 leans right of upright), then the sprite properties.");
    r.Field("ray_angle", rayAngle);
    r.Base("DS_BaseSpriteProp", static_cast<DS_BaseSpriteProp&>(*this));
  }

  void SpawnParticle(DS_Particle& p) override;
  void UpdateParticle(DS_Particle& p) override;

  MediaParamT<uint32_t> rayAngle{80u};  // degrees
};
