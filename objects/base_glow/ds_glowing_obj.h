// The live object of the glow systems: the particle geometry over the private clone of a glow
// parameter set, and a private 512 x 512 target into which the particles' glow is drawn each
// frame before it is blended over the picture drawn so far.
//
// The target lives in the default pool: OnDeviceLost drops it before a device reset and
// OnDeviceReset makes it again after it.
#pragma once

#include <memory>

#include "core/layer/ds_abobj.h"
#include "core/render/render_target_pair.h"
#include "objects/base_particles/particle_geom_array.h"

class DS_GlowEffectCtrl;

class DS_GlowingObj final : public ParticleGeomArray, public DS_ABObj {
 public:
  static constexpr int kGlowTargetSize = 512;

  // Owns the clone; makes the particles, the clone's device objects and the glow target.
  explicit DS_GlowingObj(std::unique_ptr<DS_GlowEffectCtrl> control);
  ~DS_GlowingObj() override;

  // The glow into the private target, the scene blended with it over the whole picture, then the
  // particles on top. Nothing without an effect.
  void Render(DS_2D_Light& layer) override;
  void DrawBounds(DS_2D_Light&, int) override {}
  // The clone's per-frame update, the particles, their vertices.
  void Update(float time) override;
  void SyncRect() override {}
  // The blend pass redraws the whole picture from the scene so far; without an effect there is
  // nothing to draw, and the layer must not switch to a fresh target for it.
  bool NeedsSceneTexture() override;

  // Device objects ----------------------------------------------------------------------------
  // Drops the glow target and the effect's references to it and to the scene, then the clone's
  // own default-pool objects.
  void OnDeviceLost() override;
  // The glow target at 512 x 512 (none when it cannot be made: the glow pass is then skipped),
  // then the clone's own default-pool objects.
  void OnDeviceReset() override;

  const DS_RenderTargetPair& GlowTarget() const { return m_GlowTarget; }
  DS_GlowEffectCtrl& GlowControl() const { return *m_GlowControl; }

 private:
  // Steps 1 and 2: the glow pictures of the particles, each channel the largest over them;
  // whether the target holds this frame's glow.
  bool DrawGlow(DS_2D_Light& layer);

  DS_GlowEffectCtrl* m_GlowControl;  // the clone the DS_ABObj part owns
  DS_RenderTargetPair m_GlowTarget;
};
