// The abstract level of the effect objects (explosions, static text): it adds nothing but its
// own level in the record, "DS_BaseFXCtrl" version 1 with no fields, around the effect link's.
#pragma once

#include "objects/base_fx_particles/ds_fx_particle_system_ctrl.h"

class DS_BaseFXCtrl : public DS_FXParticleSystemCtrl {
 public:
  static constexpr uint32_t kVersion = 1;

  template <class R>
  void Record(R& r) {
    r.About("The effect objects' abstract level: no fields of its own, then the shader particle level.");
    r.Base("DS_FXParticleSystemCtrl", static_cast<DS_FXParticleSystemCtrl&>(*this));
  }

  // Header, then the nested "DS_FXParticleSystemCtrl" record.
  void WriteBaseRecord(DS_IOF_Virtual& out) const { DS_WriteRecord(out, *this, "DS_BaseFXCtrl"); }
  void ReadBaseRecord(DS_IOF_Virtual& in) { DS_ReadNestedRecord(in, *this); }
};
