#include "objects/base_particles/ds_particle_system_ctrl.h"

#include "core/layer/ds_abobj.h"

void DS_ParticleSystemCtrl::FadeCycle(DS_Particle& p) {
  p.fade += StepValue() * p.fadeRate;
  if (p.fade < fadeMin) {
    SpawnParticle(p);
    p.fade = fadeMin;
    p.fadeRate = -p.fadeRate;
  } else if (p.fade > fadeMax) {
    p.fade = fadeMax;
    p.fadeRate = -p.fadeRate;
  }
}

#ifndef _WIN32
// The host build has no device and so no live objects; the document readers never ask for one.
std::unique_ptr<DS_ABObj> DS_ParticleSystemCtrl::CreateObject() const { return nullptr; }
#endif
