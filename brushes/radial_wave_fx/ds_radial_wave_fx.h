// Radial waves: circles run out from the centre (or into it) inside the mask, pushing the
// picture diagonally back and forth (effect 103, which the document carries).
#pragma once

#include "brushes/base_central/ds_central_based.h"

class DS_RadialWaveFX final : public DS_CentralBased {
 public:
  // Version 1 holds only the nested record: its own four fields keep their defaults.
  static constexpr uint32_t kVersion = 2;
  static constexpr uint32_t kMinVersion = 1;
  static constexpr int kEffectId = 103;

  DS_RadialWaveFX();
  DS_RadialWaveFX(const DS_RadialWaveFX& source) = default;
  DS_RadialWaveFX& operator=(const DS_RadialWaveFX&) = delete;

  template <class R>
  void Record(R& r) {
    r.About("Circular waves running out from the centre (mode 0) or into it (any other mode) inside the mask: "
            "amplitude (x 0.00025 of the picture), wavelength (0.001 + x 0.0001), zoom (25 + value; the distance "
            "is measured x 75 / zoom). The kind starts at speed 50 with effect 103.");
    r.Field("amplitude", amplitude, DS_Since(2));
    r.Field("wavelength", wavelength, DS_Since(2));
    r.Field("zoom", zoom, DS_Since(2));
    r.Field("mode", mode, DS_Since(2));
    r.Base("DS_CentralBased", static_cast<DS_CentralBased&>(*this));
  }

  void Write(DS_IOF_Virtual& out) const override { DS_WriteRecord(out, *this, "DS_RadialWaveFX"); }
  void ReadFields(DS_IOF_Virtual& in, uint32_t version) { DS_ReadRecordFields(in, *this, version); }
  std::unique_ptr<DS_FX_Constructor> Clone() const override { return std::make_unique<DS_RadialWaveFX>(*this); }

  // "bg_scale_factor", "center", "frequency", "amplitude" and "time".
  void CollectParameters(DS_FX_Parameters& out, unsigned width, unsigned height) const override;

  UINTSclaleTo<float> amplitude;
  UINTSclaleTo<float> wavelength;
  UINTSclaleTo<float> zoom;
  MediaParamT<int32_t> mode{0};  // 0: the waves run inward in time (negative time), else outward
};
