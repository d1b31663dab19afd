// Birds: fish of the air that never hover: they keep at least 70 percent of their largest
// horizontal speed, and a slow climb or fall becomes a glide downwards.
#pragma once

#include "objects/fish/ds_fish_constructor.h"

class DS_BirdConstructor final : public DS_ParticleKindT<DS_BirdConstructor, DS_FishConstructor> {
 public:
  static constexpr const char16_t* kClassName = u"DS_BirdConstructor";
  static constexpr uint32_t kVersion = 1;

  template <class R>
  void Record(R& r) {
    r.About("Birds: a fish record of their own; a bird keeps at least 70 percent of its largest horizontal "
            "speed, and a slow vertical speed becomes a downward glide of 40 to 100 percent of the largest.");
    r.Base("DS_FishConstructor", static_cast<DS_FishConstructor&>(*this));
  }

  void UpdateParticle(DS_Particle& p) override;
};
