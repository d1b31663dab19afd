// Rotation: the picture inside the mask turns about the centre, on a circle or stretched along
// an axis into an ellipse. Its record names no effect of its own: the document gives it one
// (effect 104, which the document carries).
#pragma once

#include "brushes/base_central/ds_central_based.h"

class DS_RotationFX final : public DS_CentralBased {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_RotationFX();
  DS_RotationFX(const DS_RotationFX& source) = default;
  DS_RotationFX& operator=(const DS_RotationFX&) = delete;

  template <class R>
  void Record(R& r) {
    r.About("The picture inside the mask turning about the centre at speed x 0.005 radian per second (mode 0 with "
            "the phase, any other value against it), on an ellipse stretched by the aspect (x 0.001; 1000 is a "
            "circle, and so is 0) along the axis angle in degrees. The kind names no effect of its own: give "
            "effect_library \"common_res.dll\" and effect_id 104, which the document carries.");
    r.Field("aspect", aspect);
    r.Field("axis_angle", axisAngle);
    r.Field("mode", mode);
    r.Base("DS_CentralBased", static_cast<DS_CentralBased&>(*this));
  }

  void Write(DS_IOF_Virtual& out) const override { DS_WriteRecord(out, *this, "DS_RotationFX"); }
  void ReadFields(DS_IOF_Virtual& in, uint32_t version) { DS_ReadRecordFields(in, *this, version); }
  std::unique_ptr<DS_FX_Constructor> Clone() const override { return std::make_unique<DS_RotationFX>(*this); }
  // The phase, then the angle turned so far.
  void Advance(float t) override;

  // The 2 x 2 row-vector transform of the turn: the turn by `rotation` stretched by the aspect,
  // seen along the axis. An aspect of 0 (the stored default) turns on a circle.
  void Transform(float m[4]) const;
  // "coord_transf" and "offset" (minus the centre fractions).
  void CollectParameters(DS_FX_Parameters& out, unsigned width, unsigned height) const override;

  UINTSclaleTo<float> aspect;
  MediaParamT<uint32_t> axisAngle{0u};  // degrees
  MediaParamT<int32_t> mode{0};         // 0: turns by the phase, else against it
  float rotation = 0.0f;                // radians
};
