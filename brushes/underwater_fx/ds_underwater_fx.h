// Underwater: the whole picture wobbles as if seen through water (effect 88). Not a slide object:
// the underwater layer (layers/underwater) embeds one, reads it as a nested record of its own,
// binds it without a mask, advances it and draws the finished scene through it.
#pragma once

#include <memory>

#include "brushes/base_fx/ds_fx_constructor.h"

class DS_UnderwaterFX final : public DS_FX_Constructor {
 public:
  static constexpr uint32_t kVersion = 1;
  static constexpr int kEffectId = 88;

  DS_UnderwaterFX();
  DS_UnderwaterFX(const DS_UnderwaterFX& source);
  // The layer's reader takes a freshly read effect into its embedded one with this: the values
  // come over, the device objects go (the read one has none; the layer binds its own later).
  DS_UnderwaterFX& operator=(const DS_UnderwaterFX& source);

  template <class R>
  void Record(R& r) {
    r.About("The underwater layer's embedded effect, a nested record of the layer (never a slide object): "
            "amplitude (x 0.000125 of the picture) and wavelength (0.001 + x 0.002 of the picture height) of the "
            "wobble. The kind starts at speed 25 with effect 88; the layer binds it without a mask.");
    r.Field("amplitude", amplitude);
    r.Field("wavelength", wavelength);
    r.Base("DS_FX_Constructor", static_cast<DS_FX_Constructor&>(*this));
  }
  void Write(DS_IOF_Virtual& out) const override { DS_WriteRecord(out, *this, "DS_UnderwaterFX"); }
  void ReadFields(DS_IOF_Virtual& in, uint32_t version) { DS_ReadRecordFields(in, *this, version); }
  std::unique_ptr<DS_FX_Constructor> Clone() const override { return std::make_unique<DS_UnderwaterFX>(*this); }

  // "frequency" (f x W / H, f) with f = 1 / wavelength, "amplitude" and "time" (phase x 0.08).
  void CollectParameters(DS_FX_Parameters& out, unsigned width, unsigned height) const override;

  UINTSclaleTo<float> amplitude;   // displacement, in picture widths
  UINTSclaleTo<float> wavelength;  // of the wobble, in picture heights
};

// A nested "DS_UnderwaterFX" record (header, name and version unused), as a new effect.
std::unique_ptr<DS_UnderwaterFX> ReadUnderwaterFXObject(DS_IOF_Virtual& in);
