#include "brushes/underwater_fx/ds_underwater_fx.h"

DS_UnderwaterFX::DS_UnderwaterFX() {
  InitScaled(amplitude, 0.000125f, 0.0f, 50);
  InitScaled(wavelength, 0.002f, 0.001f, 50);
  InitKind(kEffectId, 1.0f, 25);
}

DS_UnderwaterFX::DS_UnderwaterFX(const DS_UnderwaterFX& source)
    : DS_FX_Constructor(source), amplitude(source.amplitude), wavelength(source.wavelength) {}

DS_UnderwaterFX& DS_UnderwaterFX::operator=(const DS_UnderwaterFX& source) {
  if (this == &source) return *this;
  DS_FX_Constructor::operator=(source);
  InitScaled(amplitude, source.amplitude.Scale(), source.amplitude.Offset(), source.amplitude.Get());
  InitScaled(wavelength, source.wavelength.Scale(), source.wavelength.Offset(), source.wavelength.Get());
  return *this;
}

void DS_UnderwaterFX::CollectParameters(DS_FX_Parameters& out, unsigned width, unsigned height) const {
  const float a = PictureAspect(width, height);
  const float f = 1.0f / wavelength.Derived();  // the wavelength is never below its offset, 0.001
  out.Set("frequency", f * a, f);
  out.Set("amplitude", amplitude.Derived());
  out.Set("time", speed.Phase() * 0.08f);
}

std::unique_ptr<DS_UnderwaterFX> ReadUnderwaterFXObject(DS_IOF_Virtual& in) {
  const DS_ObjectHeader header = DS_ReadHeader(in);
  auto effect = std::make_unique<DS_UnderwaterFX>();
  effect->ReadFields(in, header.version);
  return effect;
}
