// Ghosts: fish that float more slowly and breathe in and out; one that fades away appears again
// at a new spot with a new course.
#pragma once

#include "objects/fish/ds_fish_constructor.h"

class DS_GhostConstructor final : public DS_ParticleKindT<DS_GhostConstructor, DS_FishConstructor> {
 public:
  static constexpr const char16_t* kClassName = u"DS_GhostConstructor";
  static constexpr uint32_t kVersion = 1;

  DS_GhostConstructor();

  void SpawnParticle(DS_Particle& p) override;
  void UpdateParticle(DS_Particle& p) override;
};
