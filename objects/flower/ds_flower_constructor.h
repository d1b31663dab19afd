// A flower: a still picture whose top sways about its foot, which stays where the placement puts
// it. All flowers sway in step with the phase.
#pragma once

#include "objects/stat_obj/ds_stat_obj_constructor.h"

class DS_FlowerConstructor final : public DS_ParticleKindT<DS_FlowerConstructor, DS_StatObjConstructor> {
 public:
  static constexpr const char16_t* kClassName = u"DS_FlowerConstructor";
  static constexpr uint32_t kVersion = 1;
  static constexpr uint32_t kMinVersion = 1;

  template <class R>
  void Record(R& r) {
    r.About("A flower: the sway amplitude in degrees, then the still-picture record.");
    r.Field("sway", swayAmplitude);
    r.Base("DS_StatObjConstructor", static_cast<DS_StatObjConstructor&>(*this));
  }

  void UpdateParticle(DS_Particle& p) override;

  float swayAmplitude = 1.5f;  // degrees
};
