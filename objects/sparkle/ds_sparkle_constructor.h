// Sparkles: twinkling points that drift a little and grow as they brighten.
#pragma once

#include "objects/base_particles/ds_particle_system_ctrl.h"

class DS_SparkleConstructor final : public DS_ParticleKindT<DS_SparkleConstructor> {
 public:
  static constexpr const char16_t* kClassName = u"DS_SparkleConstructor";
  static constexpr uint32_t kVersion = 1;

  template <class R>
  void Record(R& r) {
    r.About("Sparkles: the sprite properties only.");
    r.Base("DS_BaseSpriteProp", static_cast<DS_BaseSpriteProp&>(*this));
  }

  DS_SparkleConstructor() { flag = true; }
  void SpawnParticle(DS_Particle& p) override;
  void UpdateParticle(DS_Particle& p) override;
};
