// Expand: the picture inside the mask zooms in and out about the centre, swinging between its
// largest outward and inward amounts on a triangle wave or a sine (effect 102).
#pragma once

#include "brushes/base_central/ds_central_based.h"

class DS_ExpandFX final : public DS_CentralBased {
 public:
  static constexpr uint32_t kVersion = 1;
  static constexpr int kEffectId = 102;
  enum Mode : int32_t { kTriangle = 0, kSine = 1 };

  DS_ExpandFX();
  DS_ExpandFX(const DS_ExpandFX& source) = default;
  DS_ExpandFX& operator=(const DS_ExpandFX&) = delete;

  template <class R>
  void Record(R& r) {
    r.About("The picture inside the mask zooming about the centre: it swings between the inward amount (x 0.005) "
            "and the outward amount (x 0.005), mode 0 on a triangle wave, any other value on a sine. The kind "
            "starts at speed 50 with effect 102.");
    r.Field("outward", outward);
    r.Field("inward", inward);
    r.Field("mode", mode);
    r.Base("DS_CentralBased", static_cast<DS_CentralBased&>(*this));
  }

  void Write(DS_IOF_Virtual& out) const override { DS_WriteRecord(out, *this, "DS_ExpandFX"); }
  void ReadFields(DS_IOF_Virtual& in, uint32_t version) { DS_ReadRecordFields(in, *this, version); }
  std::unique_ptr<DS_FX_Constructor> Clone() const override { return std::make_unique<DS_ExpandFX>(*this); }
  // The phase, then the amount at it: from minus `inward` to `outward`.
  void Advance(float t) override;

  // "amplitude" (an outward amount first, an inward one second) and "center".
  void CollectParameters(DS_FX_Parameters& out, unsigned width, unsigned height) const override;

  UINTSclaleTo<float> outward;
  UINTSclaleTo<float> inward;
  MediaParamT<int32_t> mode{kTriangle};  // 0 a triangle wave, any other value a sine
  float amount = 0.0f;
};
