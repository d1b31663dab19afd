// The brushes that work about a centre point of the picture (radial waves, rotation): the
// centre in picture pixels, with its nested record "DS_CentralBased", and the centre as
// fractions of the picture for the effects.
#pragma once

#include "brushes/base_fx/ds_fx_constructor.h"

class DS_CentralBased : public DS_FX_Constructor {
 public:
  // The nested part's version (not the base's).
  static constexpr uint32_t kVersion = 1;
  static constexpr uint32_t kMinVersion = 1;

  // The centre of the current picture (0, 0 before the first layout).
  DS_CentralBased();
  DS_CentralBased(const DS_CentralBased& source) = default;
  DS_CentralBased& operator=(const DS_CentralBased&) = delete;

  // A brush not yet placed takes the middle of the current picture first (and tells the
  // centre's observers); then the base's binding.
  void LoadEffect(IDirect3DTexture9* mask) override;

  // The centre as fractions of the current picture (the current render context's picture size);
  // a dimension of 0 gives a fraction of 0.
  void CentreFractions(float c[2]) const;

  // The nested part "DS_CentralBased": the centre's three floats, then the base part.
  template <class R>
  void Record(R& r) {
    r.About("The base part of the brushes that work about a centre point (expand, radial wave, rotation): the "
            "centre in picture pixels (x, y, and z unused). A stored brush keeps its centre as given: name the "
            "picture's middle for a centred one.");
    r.Field("centre", centre);
    r.Base("DS_FX_Constructor", static_cast<DS_FX_Constructor&>(*this));
  }

  MediaParamT<DS_Vector3> centre;
};
