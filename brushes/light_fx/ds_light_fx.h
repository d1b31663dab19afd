// Light: the picture inside the mask brightens with a smooth pulse, an on/off blink or a noise
// flicker (effect 76).
#pragma once

#include "brushes/fx_base/ds_fx_constructor.h"

class DS_LightFX final : public DS_FX_Constructor {
 public:
  static constexpr uint32_t kVersion = 1;
  static constexpr int kEffectId = 76;
  enum Mode : int32_t { kPulse = 0, kBlink = 1, kFlicker = 2 };

  DS_LightFX();
  DS_LightFX(const DS_LightFX& source) = default;
  DS_LightFX& operator=(const DS_LightFX&) = delete;

  void Write(DS_IOF_Virtual& out) const override;
  void ReadFields(DS_IOF_Virtual& in, uint32_t version);
  std::unique_ptr<DS_FX_Constructor> Clone() const override { return std::make_unique<DS_LightFX>(*this); }

  // "multiplier" at the current phase: intensity x the pulse, blink or flicker in 0..1.
  float Multiplier() const;
  // "multiplier".
  void CollectParameters(DS_FX_Parameters& out, unsigned width, unsigned height) const override;

  UINTSclaleTo<float> intensity;
  MediaParamT<int32_t> mode{0};  // below 0 acts as 0, 2 and above flicker
};
