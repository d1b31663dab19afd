// Radial waves: circles run out from the centre (or into it) inside the mask, pushing the
// picture diagonally back and forth (effect 103, which the document carries).
#pragma once

#include "brushes/fx_central/ds_central_based.h"

class DS_RadialWaveFX final : public DS_CentralBased {
 public:
  // Version 1 holds only the nested record: its own four fields keep their defaults.
  static constexpr uint32_t kVersion = 2;
  static constexpr uint32_t kMinVersion = 1;
  static constexpr int kEffectId = 103;

  DS_RadialWaveFX();
  DS_RadialWaveFX(const DS_RadialWaveFX& source) = default;
  DS_RadialWaveFX& operator=(const DS_RadialWaveFX&) = delete;

  void Write(DS_IOF_Virtual& out) const override;
  void ReadFields(DS_IOF_Virtual& in, uint32_t version);
  std::unique_ptr<DS_FX_Constructor> Clone() const override { return std::make_unique<DS_RadialWaveFX>(*this); }

  // "bg_scale_factor", "center", "frequency", "amplitude" and "time".
  void CollectParameters(DS_FX_Parameters& out, unsigned width, unsigned height) const override;

  UINTSclaleTo<float> amplitude;
  UINTSclaleTo<float> wavelength;
  UINTSclaleTo<float> zoom;
  MediaParamT<int32_t> mode{0};  // 0: the waves run inward in time (negative time), else outward
};
