// The brushes that work about a centre point of the picture (radial waves, rotation): the
// centre in picture pixels, with its nested record "DS_CentralBased", and the centre as
// fractions of the picture for the effects.
#pragma once

#include "brushes/fx_base/ds_fx_constructor.h"

class DS_CentralBased : public DS_FX_Constructor {
 public:
  static constexpr uint32_t kCentralVersion = 1;

  // The centre of the current picture (0, 0 before the first layout).
  DS_CentralBased();
  DS_CentralBased(const DS_CentralBased& source) = default;
  DS_CentralBased& operator=(const DS_CentralBased&) = delete;

  // A brush not yet placed takes the middle of the current picture first (and tells the
  // centre's observers); then the base's binding.
  void LoadEffect(IDirect3DTexture9* mask) override;

  // The centre as fractions of the current picture (g_PictureWidth x g_PictureHeight); a
  // dimension of 0 gives a fraction of 0.
  void CentreFractions(float c[2]) const;

  // The nested record "DS_CentralBased": the centre's three floats, then the base part.
  void WriteCentral(DS_IOF_Virtual& out) const;
  void ReadCentral(DS_IOF_Virtual& in);

  MediaParamT<DS_Vector3> centre;
};
