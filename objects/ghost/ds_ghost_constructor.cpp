#include "objects/ghost/ds_ghost_constructor.h"

#include "core/data/class_registry.h"

DS_GhostConstructor::DS_GhostConstructor() {
  maxSpeedX = 50.0f;
  maxSpeedY = 50.0f;
  fadeRate = 0.66f;
  transparency.Set(50);
  sizeMin = 1.0f;
  sizeMax = 1.0f;
}

void DS_GhostConstructor::SpawnParticle(DS_Particle& p) {
  DS_FishConstructor::SpawnParticle(p);
  p.fade = Uniform(*this);
}

void DS_GhostConstructor::UpdateParticle(DS_Particle& p) {
  DS_FishConstructor::UpdateParticle(p);
  FadeCycle(p);
  p.UpdateColour(*this);
}

DS_REGISTER_CONSTRUCTOR(DS_GhostConstructor);
