// The effect objects placed at a fixed point of the picture: a centre in picture pixels and a
// box size. Their live object (DS_FXObj) makes the particles through the kind's SpawnParticle,
// moves them through its UpdateParticle, and before every draw lets the kind set its effect's
// technique, textures and parameters (PrepareRender).
//
// Record "DS_StatBaseFXCtrl" version 2: the centre (three floats), the box height and width,
// then the nested "DS_BaseFXCtrl" record. Version 1 has no box sizes.
#pragma once

#include "core/data/ds_types.h"
#include "objects/base_fx_objects/ds_base_fx_ctrl.h"

class DS_2D_Light;

class DS_StatBaseFXCtrl : public DS_BaseFXCtrl {
 public:
  static constexpr uint32_t kVersion = 2;

  // Centred on the picture as it is published now.
  DS_StatBaseFXCtrl();
  DS_StatBaseFXCtrl(const DS_StatBaseFXCtrl& source) = default;

  // Every value is read as stored, without telling anyone.
  template <class R>
  void Record(R& r) {
    r.About("An effect object at a fixed point: its centre in picture pixels (x, y, z) and its box height and "
            "width in pixels (the static text's box; explosions take their size from the sprite size), then the "
            "abstract level.");
    r.Field("centre", centre);
    r.Field("box_height", boxHeight, DS_Since(2));
    r.Field("box_width", boxWidth, DS_Since(2));
    r.Base("DS_BaseFXCtrl", static_cast<DS_BaseFXCtrl&>(*this));
  }

  // The nested record as the kinds carry it after their own fields: header, then the fields.
  void WriteBaseRecord(DS_IOF_Virtual& out) const { DS_WriteRecord(out, *this, "DS_StatBaseFXCtrl"); }
  void ReadBaseRecord(DS_IOF_Virtual& in) { DS_ReadNestedRecord(in, *this); }

  // A live DS_FXObj over a clone of this set (none on the host, which has no device).
  std::unique_ptr<DS_ABObj> CreateObject() const override;

  // A set not yet placed (made by hand, not read) is centred on the picture once; then it is
  // placed. Platform-free, so that the host tests prove it; CreateDeviceObjects calls it.
  void PlaceOnce();

#ifdef _WIN32
  // The effect, then the placement.
  void CreateDeviceObjects() override;
  // Sets the effect's technique, textures and parameters for this frame's draw and answers
  // whether the object draws: false when it has nothing of its own to show, for then the
  // effect still holds what another object left in it. Called only when the set has an
  // effect.
  virtual bool PrepareRender(DS_2D_Light& layer) = 0;
#endif

  MediaParamT<DS_Vector3> centre;
  MediaParamT<uint32_t> boxHeight{0u};
  MediaParamT<uint32_t> boxWidth{0u};
};
