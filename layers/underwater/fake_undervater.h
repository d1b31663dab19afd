// The underwater layer: the whole finished scene, picture and objects, wobbles as if seen through
// water. The layer always draws its scene into its render target; after the objects it draws the
// target to the screen through its embedded underwater effect (a DS_UnderwaterFX without a mask),
// which it binds, advances and draws itself. Without the effect the target is drawn plainly.
#pragma once

#include <cstdint>

#include "brushes/underwater_fx/ds_underwater_fx.h"
#include "core/layer/ds_2d_light.h"
#include "layers/underwater/fake_undervater_params.h"

// The part first, so that it outlives the base layer (whose listeners go first).
class FakeUndervater : public FakeUndervaterParams, public DS_2D_Light {
 public:
  using FakeUndervaterParams::kVersion;
  using FakeUndervaterParams::kMinVersion;

  FakeUndervater();
  ~FakeUndervater() override;

  // Record ---------------------------------------------------------------------------------------
  // "FakeUndervater" version 2: the nested "DS_UnderwaterFX" record, then the base part.
  template <class R>
  void Record(R& r) {
    DS_WalkRecord(static_cast<FakeUndervaterParams&>(*this), r);
    r.Base("DS_2D_Light", static_cast<DS_2D_Light&>(*this));
  }
  void Write(DS_IOF_Virtual& out) const override { DS_WriteRecord(out, *this, "FakeUndervater"); }
  void ReadFields(DS_IOF_Virtual& in, uint32_t version) { DS_ReadRecordFields(in, *this, version); }

  // Device objects: the base's, then the effect bound without a mask. The effect belongs to the
  // resource manager, which the scene tells of a device reset before the layer; the layer's
  // reset is the base's (its default states and the target pair).
  void CreateDeviceObjects() override;
  // The base's (the target pair), and the effect lets go of the target it was last given: the
  // effect is shared and outlives the slide's turn.
  void OnDeviceLost() override;

  // Frame ----------------------------------------------------------------------------------------
  // The camera, then the effect's time.
  void Update(float time) override;
  // Always: the scene goes into the target first.
  bool HasDistortion() override { return true; }
  // The target ends and the back buffer is cleared; the target's texture becomes the scene
  // texture and goes to the screen through the effect (plainly without one); then the borders.
  void PostRender() override;
};
