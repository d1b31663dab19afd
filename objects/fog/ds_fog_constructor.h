// Fog: large soft patches that drift, bounce inside the view, turn slowly and breathe between
// the fade minimum and maximum.
#pragma once

#include "objects/base_particles/ds_particle_system_ctrl.h"

class DS_FogConstructor final : public DS_ParticleKindT<DS_FogConstructor> {
 public:
  static constexpr const char16_t* kClassName = u"DS_FogConstructor";
  static constexpr uint32_t kVersion = 1;

  template <class R>
  void Record(R& r) {
    r.About("Fog patches: the drift ranges in pixels per unit of phase, then the sprite properties (the kind "
            "itself starts at fade range 0.2 to 1 and 50 percent transparency).");
    r.Field("drift_x", driftX);
    r.Field("drift_y", driftY);
    r.Base("DS_BaseSpriteProp", static_cast<DS_BaseSpriteProp&>(*this));
  }

  DS_FogConstructor();
  void SpawnParticle(DS_Particle& p) override;
  void UpdateParticle(DS_Particle& p) override;

  float driftX = 40.0f, driftY = 40.0f;  // pixels per unit of phase
};
