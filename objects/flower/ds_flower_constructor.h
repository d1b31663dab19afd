// A flower: a still picture whose top sways about its foot, which stays where the placement puts
// it. All flowers sway in step with the phase.
#pragma once

#include "objects/stat_obj/ds_stat_obj_constructor.h"

class DS_FlowerConstructor final : public DS_StatObjConstructor {
 public:
  static constexpr uint32_t kVersion = 1;
  static constexpr uint32_t kMinVersion = 1;

  void Write(DS_IOF_Virtual& out) const override;
  void ReadFields(DS_IOF_Virtual& in, uint32_t version);
  std::unique_ptr<DS_ParticleSystemCtrl> Clone() const override;
  void UpdateParticle(DS_Particle& p) override;

  float swayAmplitude = 1.5f;  // degrees
};
