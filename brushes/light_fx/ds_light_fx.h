// Light: the picture inside the mask brightens with a smooth pulse, an on/off blink or a noise
// flicker (effect 76).
#pragma once

#include "brushes/base_fx/ds_fx_constructor.h"

class DS_LightFX final : public DS_FX_Constructor {
 public:
  static constexpr uint32_t kVersion = 1;
  static constexpr int kEffectId = 76;
  enum Mode : int32_t { kPulse = 0, kBlink = 1, kFlicker = 2 };

  DS_LightFX();
  DS_LightFX(const DS_LightFX& source) = default;
  DS_LightFX& operator=(const DS_LightFX&) = delete;

  template <class R>
  void Record(R& r) {
    r.About("The picture inside the mask brightened up to intensity x 0.01: mode 0 a smooth pulse, 1 an on/off "
            "blink, 2 and above a noise flicker. The kind starts at speed 40 with effect 76.");
    r.Field("intensity", intensity);
    r.Field("mode", mode);
    r.Base("DS_FX_Constructor", static_cast<DS_FX_Constructor&>(*this));
  }

  void Write(DS_IOF_Virtual& out) const override { DS_WriteRecord(out, *this, "DS_LightFX"); }
  void ReadFields(DS_IOF_Virtual& in, uint32_t version) { DS_ReadRecordFields(in, *this, version); }
  std::unique_ptr<DS_FX_Constructor> Clone() const override { return std::make_unique<DS_LightFX>(*this); }

  // "multiplier" at the current phase: intensity x the pulse, blink or flicker in 0..1.
  float Multiplier() const;
  // "multiplier".
  void CollectParameters(DS_FX_Parameters& out, unsigned width, unsigned height) const override;

  UINTSclaleTo<float> intensity;
  MediaParamT<int32_t> mode{0};  // below 0 acts as 0, 2 and above flicker
};
