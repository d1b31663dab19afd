// Birds: fish of the air that never hover: they keep at least 70 percent of their largest
// horizontal speed, and a slow climb or fall becomes a glide downwards.
#pragma once

#include "objects/fish/ds_fish_constructor.h"

class DS_BirdConstructor final : public DS_ParticleKindT<DS_BirdConstructor, DS_FishConstructor> {
 public:
  static constexpr const char16_t* kClassName = u"DS_BirdConstructor";
  static constexpr uint32_t kVersion = 1;

  void UpdateParticle(DS_Particle& p) override;
};
