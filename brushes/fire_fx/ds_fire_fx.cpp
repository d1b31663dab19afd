#include "brushes/fire_fx/ds_fire_fx.h"

#include "core/data/class_registry.h"

DS_REGISTER_CONSTRUCTOR(DS_FireFX);

namespace {

void ColourTerms(uint32_t colour, float (&rgb)[3]) {
  for (int i = 0; i < 3; ++i) rgb[i] = static_cast<float>((colour >> (8 * i)) & 0xFF) / 255.0f;
}

// A scaled member's value, scale and offset from another, telling its observers.
void AssignScaled(UINTSclaleTo<float>& param, const UINTSclaleTo<float>& source) {
  param.SetScale(source.Scale(), source.Offset());
  param.Set(source.Get());
}

void CopyCorners(MediaQuad& to, const MediaQuad& from) {
  for (int i = 0; i < 4; ++i) to.corners[i].Store(from.corners[i].Get());
}

}  // namespace

// Parameter set ----------------------------------------------------------------------------------------

DS_FireFX::DS_FireFX()
    : colourTo(0x00FFFFu),
      colourFrom(0x0000FFu),
      patternLink(DS_FileLink3(kPatternPictureId, u"common_res.dll")),
      noiseLink(DS_FileLink3(kNoisePictureId, u"common_res.dll")),
      m_Grid(NewGrid(nullptr)) {
  InitScaled(density, 0.01f, -1.0f, 100);
  InitScaled(brightness, 0.02f, 0.0f, 15);
  InitScaled(uRepeat, 0.01f, 0.0f, 100);
  InitKind(kEffectId, 0.02f, 50);
}

DS_FireFX::DS_FireFX(const DS_FireFX& source)
    : DS_FX_Constructor(source),
      colourTo(source.colourTo),
      colourFrom(source.colourFrom),
      fireMode(source.fireMode),
      patternLink(source.patternLink),
      noiseLink(source.noiseLink),
      extraValue(source.extraValue),
      density(source.density),
      brightness(source.brightness),
      uRepeat(source.uRepeat),
      m_Grid(NewGrid(source.m_Grid.get())) {
  CopyCorners(corners, source.corners);
}

DS_FireFX& DS_FireFX::operator=(const DS_FireFX& source) {
  if (this == &source) return *this;
  DS_FX_Constructor::operator=(source);  // the effect, the pictures and the mask shared anew
  CopyCorners(corners, source.corners);
  colourTo = source.colourTo;
  colourFrom = source.colourFrom;
  fireMode = source.fireMode;
  patternLink.StoreKey(source.patternLink.Key());
  noiseLink.StoreKey(source.noiseLink.Key());
  extraValue.Store(source.extraValue.Get());
  AssignScaled(density, source.density);
  AssignScaled(brightness, source.brightness);
  AssignScaled(uRepeat, source.uRepeat);
  m_Grid.reset(NewGrid(source.m_Grid.get()));
  return *this;
}

// The grid goes first (m_Grid is the last member).
DS_FireFX::~DS_FireFX() = default;

// Values ------------------------------------------------------------------------------------------------

void DS_FireFX::CollectParameters(DS_FX_Parameters& out, unsigned, unsigned) const {
  float k1[3], k2[3];
  ColourTerms(colourFrom.Get(), k1);
  ColourTerms(colourTo.Get(), k2);
  for (int i = 0; i < 3; ++i) k2[i] -= k1[i];
  out.Set("ColorK1", k1[0], k1[1], k1[2]);
  out.Set("ColorK2", k2[0], k2[1], k2[2]);
  out.Set("Brightness", brightness.Derived());
  out.Set("Density", density.Derived());
}

void DS_FireFX::CollectNoiseParameters(DS_FX_Parameters& out) const {
  const double p = speed.Phase();
  out.SetPicture("Noise", 1);
  out.SetPicture("Pattern", 0);
  out.Set("c11", 0.0f, static_cast<float>(1.3 * p));
  out.Set("c12", 0.0f, static_cast<float>(2.1 * p));
  out.Set("c13", 0.0f, static_cast<float>(2.3 * p));
}

float DS_FireFX::RepeatU() const {
  const float r = uRepeat.Derived();
  return 1.0f / (r > 0.0f ? r : kMinRepeat);
}
