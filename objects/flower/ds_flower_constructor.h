// A flower: a still picture whose top sways about its foot, which stays where the placement puts
// it. All flowers sway in step with the phase.
#pragma once

#include "objects/stat_obj/ds_stat_obj_constructor.h"

class DS_FlowerConstructor final : public DS_ParticleKindT<DS_FlowerConstructor, DS_StatObjConstructor> {
 public:
  static constexpr const char16_t* kClassName = u"DS_FlowerConstructor";
  static constexpr uint32_t kVersion = 1;
  static constexpr uint32_t kMinVersion = 1;

  void WriteOwnFields(DS_IOF_Virtual& out) const { out.WriteFloat(swayAmplitude); }
  void ReadOwnFields(DS_IOF_Virtual& in) { in.ReadFloat(swayAmplitude); }
  void UpdateParticle(DS_Particle& p) override;

  float swayAmplitude = 1.5f;  // degrees
};
