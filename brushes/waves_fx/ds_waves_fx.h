// Waves: straight waves run across the picture inside the mask along a direction, pushing the
// picture sideways (effect 77, which the document carries).
#pragma once

#include "brushes/base_fx/ds_fx_constructor.h"
#include "core/data/change_listeners.h"

class DS_WavesFX final : public DS_FX_Constructor {
 public:
  static constexpr uint32_t kVersion = 1;
  static constexpr int kEffectId = 77;

  DS_WavesFX();
  DS_WavesFX(const DS_WavesFX& source);
  DS_WavesFX& operator=(const DS_WavesFX&) = delete;

  template <class R>
  void Record(R& r) {
    r.About("Straight waves that push the picture inside the mask: amplitude (x 0.00025 of the picture), "
            "wavelength (0.001 + x 0.0005), the angle in degrees along which they run, and which second direction "
            "they push along (0: turned by a right angle, else the opposite). The kind starts at speed 25 with "
            "effect 77.");
    r.Field("amplitude", amplitude);
    r.Field("wavelength", wavelength);
    r.Field("angle", angle);
    r.Field("second_direction", secondDirection);
    r.Base("DS_FX_Constructor", static_cast<DS_FX_Constructor&>(*this));
  }

  void Write(DS_IOF_Virtual& out) const override { DS_WriteRecord(out, *this, "DS_WavesFX"); }
  void ReadFields(DS_IOF_Virtual& in, uint32_t version) { DS_ReadRecordFields(in, *this, version); }
  std::unique_ptr<DS_FX_Constructor> Clone() const override { return std::make_unique<DS_WavesFX>(*this); }

  // `direction` and `directionN` from `angle` and `secondDirection` (listener callback).
  void UpdateDirections();

  UINTSclaleTo<float> amplitude;
  UINTSclaleTo<float> wavelength;
  MediaParamT<uint32_t> angle{0u};      // degrees: where the waves run
  MediaParamT<int32_t> secondDirection{0};  // 0: the direction turned by a right angle, else its opposite
  DS_ListenerSet listeners;
  DS_Vector4 direction;
  DS_Vector4 directionN;

  // "direction" (against `direction`), "direction_n", "frequency", "amplitude" and "time".
  void CollectParameters(DS_FX_Parameters& out, unsigned width, unsigned height) const override;

 private:
  void AttachListeners();
};
