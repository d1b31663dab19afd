// The abstract level of the effect objects (explosions, static text): it adds nothing but its
// own level in the record, "DS_BaseFXCtrl" version 1 with no fields, around the effect link's.
#pragma once

#include "objects/fx_particles/ds_fx_particle_system_ctrl.h"

class DS_BaseFXCtrl : public DS_FXParticleSystemCtrl {
 public:
  static constexpr uint32_t kBaseFXVersion = 1;

  // Header, then the nested "DS_FXParticleSystemCtrl" record.
  void WriteBaseRecord(DS_IOF_Virtual& out) const;
  void ReadBaseRecord(DS_IOF_Virtual& in);
};
