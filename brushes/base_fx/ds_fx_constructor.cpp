#include "brushes/base_fx/ds_fx_constructor.h"

namespace {

DS_MaskKey FreshMaskKey() {
  DS_MaskKey key = MakeNewMaskEntry();
  key.name.clear();
  key.flag = true;
  return key;
}

}  // namespace

// Parameter set ----------------------------------------------------------------------------------------

DS_FX_Constructor::DS_FX_Constructor() : maskKey(FreshMaskKey()), m_Device(NewDeviceRefs(nullptr)) {
  placed = true;
  speed.SetScale(1.0f, 0.0f);
  InitScaled(scaleFactor, kScaleStep, 0.0f, 50);
}

DS_FX_Constructor::DS_FX_Constructor(const DS_FX_Constructor& source)
    : DS_ABObj_Constructor(source),
      speed(source.speed),
      techniqueFlag(source.techniqueFlag),
      effectLink(source.effectLink),
      scaleFactor(source.scaleFactor),
      maskKey(source.maskKey),
      m_Device(NewDeviceRefs(source.m_Device.get())) {}

DS_FX_Constructor& DS_FX_Constructor::operator=(const DS_FX_Constructor& source) {
  if (this == &source) return *this;
  DS_ABObj_Constructor::operator=(source);
  speed.SetScale(source.speed.Scale(), source.speed.Offset());
  speed.Set(source.speed.Get());
  techniqueFlag = source.techniqueFlag;
  effectLink.StoreKey(source.effectLink.Key());
  scaleFactor.SetScale(source.scaleFactor.Scale(), source.scaleFactor.Offset());
  scaleFactor.Set(source.scaleFactor.Get());
  maskKey = source.maskKey;
  m_Device.reset(NewDeviceRefs(source.m_Device.get()));
  return *this;
}

// The device objects go first (m_Device is the last member).
DS_FX_Constructor::~DS_FX_Constructor() = default;

void DS_FX_Constructor::NewIdentity() {
  SetMaskTexture(nullptr);
  maskKey = FreshMaskKey();
}

DS_ResourceKey DS_FX_Constructor::LibraryKey(int id) { return DS_ResourceKey{u"common_res.dll", id}; }

void DS_FX_Constructor::InitScaled(UINTSclaleTo<float>& param, float scale, float offset, uint32_t value) {
  param.SetScale(scale, offset);
  param.Set(value);
}

void DS_FX_Constructor::InitKind(int effectId, float speedScale, uint32_t speedValue) {
  InitScaled(speed, speedScale, 0.0f, speedValue);
  effectLink.StoreKey(LibraryKey(effectId));
}

// Frame ---------------------------------------------------------------------------------------------------

void DS_FX_Constructor::Advance(float t) { speed.Update(t); }

float DS_FX_Constructor::PictureAspect(unsigned width, unsigned height) {
  return height == 0 ? 1.0f : static_cast<float>(static_cast<double>(width) / static_cast<double>(height));
}

void DS_FX_Constructor::ScaleFor(unsigned width, unsigned height, float scale[2]) const {
  const float a = PictureAspect(width, height);
  float k = scaleFactor.Derived();
  if (!(k > 0.0f)) k = kScaleStep;
  scale[0] = a / k;
  scale[1] = 1.0f / k;
}
