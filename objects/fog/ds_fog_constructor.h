// Fog: large soft patches that drift, bounce inside the view, turn slowly and breathe between
// the fade minimum and maximum.
#pragma once

#include "objects/particles/ds_particle_system_ctrl.h"

class DS_FogConstructor final : public DS_ParticleKindT<DS_FogConstructor> {
 public:
  static constexpr const char16_t* kClassName = u"DS_FogConstructor";
  static constexpr uint32_t kVersion = 1;

  DS_FogConstructor();
  void WriteOwnFields(DS_IOF_Virtual& out) const {
    out.WriteFloat(driftX);
    out.WriteFloat(driftY);
  }
  void ReadOwnFields(DS_IOF_Virtual& in) {
    in.ReadFloat(driftX);
    in.ReadFloat(driftY);
  }
  void SpawnParticle(DS_Particle& p) override;
  void UpdateParticle(DS_Particle& p) override;

  float driftX = 40.0f, driftY = 40.0f;  // pixels per unit of phase
};
