// The live object of every plain particle kind: the multi-frame particle geometry over the
// private clone of its parameter set, drawn through the layer's sprite-array draw with the
// current picture frame and, when the set names one, an overlay picture as a second pass.
#pragma once

#include <memory>

#include "core/layer/ds_abobj.h"
#include "objects/base_particles/particle_geom_array.h"

class DS_ParticleSystemCtrl;

class DS_SpriteArrayObj final : public AnimatedTexture<ParticleGeomArray>, public DS_ABObj {
 public:
  // Resolves the set's pictures through the current resource manager and makes the particles.
  explicit DS_SpriteArrayObj(std::unique_ptr<DS_ParticleSystemCtrl> control);
  ~DS_SpriteArrayObj() override;

  void Render(DS_2D_Light& layer) override;
  void DrawBounds(DS_2D_Light& layer, int mode) override;
  void Update(float time) override;
  void SyncRect() override;
  bool HitTest(float x, float y) override;

  // The overlay with a reference of the caller's own, or none.
  DS_ComHolder<IDirect3DTexture9> GetOverlayTexture() const { return overlay; }

  DS_ComHolder<IDirect3DTexture9> overlay;
  int32_t isStatic = 0;  // the still-picture kinds; handed to the marker drawing

 private:
  bool m_Filled = false;
};
