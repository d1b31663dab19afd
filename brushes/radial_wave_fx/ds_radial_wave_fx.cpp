#include "brushes/radial_wave_fx/ds_radial_wave_fx.h"

#include "core/data/class_registry.h"

DS_RadialWaveFX::DS_RadialWaveFX() {
  InitScaled(amplitude, 0.00025f, 0.0f, 50);
  InitScaled(wavelength, 0.0001f, 0.001f, 50);
  InitScaled(zoom, 1.0f, 25.0f, 50);
  InitKind(kEffectId, 1.0f, 50);
}

void DS_RadialWaveFX::CollectParameters(DS_FX_Parameters& out, unsigned width, unsigned height) const {
  // The distance is measured with the picture's height stretched to its width, times 75 / zoom;
  // a picture that resolved to nothing counts as square. The zoom is at least its offset, 25.
  const double stretch = 75.0 / static_cast<double>(zoom.Derived());
  const double aspect = width == 0 ? 1.0 : static_cast<double>(height) / static_cast<double>(width);
  out.Set("bg_scale_factor", 1.0f, static_cast<float>(aspect * stretch));
  float c[2];
  CentreFractions(c);
  out.Set("center", c[0], c[1]);
  out.Set("frequency", 1.0f / wavelength.Derived());  // the wavelength is at least its offset
  out.Set("amplitude", amplitude.Derived());
  out.Set("time", speed.Phase() * (mode.Get() != 0 ? 0.08f : -0.08f));
}

DS_REGISTER_CONSTRUCTOR(DS_RadialWaveFX);
