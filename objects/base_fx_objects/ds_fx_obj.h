// The live object of the effect objects: the particle geometry over the private clone of the
// parameter set, drawn once per pass of the clone's effect after the clone has set the effect
// up for the frame. Without an effect (a library or document that lacks it, bytes the effect
// loader refused) the object draws nothing.
#pragma once

#include <memory>

#include "core/layer/ds_abobj.h"
#include "objects/base_fx_objects/ds_stat_base_fx_ctrl.h"
#include "objects/base_particles/particle_geom_array.h"

class DS_FXObj final : public DS_ABObj {
 public:
  // Owns the clone; makes the particles up to its count, then its device objects: those made
  // once, and the first reset of its default-pool ones.
  explicit DS_FXObj(std::unique_ptr<DS_StatBaseFXCtrl> clone);
  ~DS_FXObj() override;

  void Render(DS_2D_Light& layer) override;
  void DrawBounds(DS_2D_Light&, int) override {}
  void Update(float time) override;
  void SyncRect() override {}
  // The control's own default-pool objects (a text's target and font) follow the device.
  void OnDeviceLost() override { control->OnDeviceLost(); }
  void OnDeviceReset() override { control->OnDeviceReset(); }

  DS_StatBaseFXCtrl& FXControl() const { return *control; }
  const ParticleGeomArray& Geometry() const { return geometry; }

 private:
  ParticleGeomArray geometry;
  DS_StatBaseFXCtrl* control;  // the clone the DS_ABObj part owns
};
