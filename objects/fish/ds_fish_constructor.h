// Fish: creatures that roam the view, each facing the way it swims (the sprite faces +x and is
// mirrored while it swims left), turning back once it has left the view at a side, bouncing off
// the top and bottom, and now and then changing speed while keeping its heading. Ghosts and
// birds build on it with the fish record nested in theirs.
#pragma once

#include "objects/base_particles/ds_particle_system_ctrl.h"

class DS_FishConstructor : public DS_ParticleKindT<DS_FishConstructor> {
 public:
  static constexpr const char16_t* kClassName = u"DS_FishConstructor";
  static constexpr uint32_t kVersion = 1;

  template <class R>
  void Record(R& r) {
    r.About("Fish: the largest horizontal and vertical speeds in pixels per unit of phase, then the sprite "
            "properties. The sprite faces +x and is mirrored while the fish swims left.");
    r.Field("max_speed_x", maxSpeedX);
    r.Field("max_speed_y", maxSpeedY);
    r.Base("DS_BaseSpriteProp", static_cast<DS_BaseSpriteProp&>(*this));
  }


  void SpawnParticle(DS_Particle& p) override;
  void UpdateParticle(DS_Particle& p) override;
  // The application time given to the last step, in seconds: what course changes are timed by.
  float Clock() const { return timeStep.lastTime; }

  float maxSpeedX = 80.0f;  // the largest horizontal speed, pixels per unit of phase
  float maxSpeedY = 50.0f;  // the largest vertical speed
};
