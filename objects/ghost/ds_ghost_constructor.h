// Ghosts: fish that float more slowly and breathe in and out; one that fades away appears again
// at a new spot with a new course.
#pragma once

#include "objects/fish/ds_fish_constructor.h"

class DS_GhostConstructor final : public DS_ParticleKindT<DS_GhostConstructor, DS_FishConstructor> {
 public:
  static constexpr const char16_t* kClassName = u"DS_GhostConstructor";
  static constexpr uint32_t kVersion = 1;

  template <class R>
  void Record(R& r) {
    r.About("Ghosts: a fish record of their own (a ghost itself starts at speeds 50 and 50, fade rate 0.66, "
            "50 percent transparency and sizes 1 to 1); each ghost pulses through the fade range at the fade "
            "rate and appears again elsewhere below the fade minimum.");
    r.Base("DS_FishConstructor", static_cast<DS_FishConstructor&>(*this));
  }

  DS_GhostConstructor();

  void SpawnParticle(DS_Particle& p) override;
  void UpdateParticle(DS_Particle& p) override;
};
